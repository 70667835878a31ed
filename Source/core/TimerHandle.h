// Engine::TimerHandle: names one timer of the timer database by its slot and the slot's
// generation; a holder recognises a reused slot by a revision different from its own.
#pragma once

#include <cstdint>

namespace Engine {

struct TimerHandle {
    std::uint32_t id = 0;        // slot index in the timer database
    std::uint32_t revision = 0;  // generation of that slot
};

}  // namespace Engine

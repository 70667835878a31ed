// Engine::FrameClock: the steady clock and the sleep that Game's frame loop paces itself
// with. The game uses the real ones; tests hand Game a clock of their own so that the
// frame cap can be checked without waiting.
#pragma once

#include <cstdint>
#include <functional>

namespace Engine {

struct FrameClock {
    std::function<std::int64_t()> now;               // steady-clock nanoseconds
    std::function<void(std::int64_t)> sleepFor;      // nanoseconds, always > 0

    // std::chrono::steady_clock and std::this_thread::sleep_for.
    static FrameClock Steady();
};

}  // namespace Engine

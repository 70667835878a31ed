#include "core/FrameClock.h"

#include <chrono>
#include <thread>

namespace Engine {

FrameClock FrameClock::Steady()
{
    return FrameClock{
        [] {
            return static_cast<std::int64_t>(
                std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
                    .count());
        },
        [](std::int64_t nanoseconds) { std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds)); },
    };
}

}  // namespace Engine

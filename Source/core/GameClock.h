// Engine::GameClock: the steady clock the engine's time stamps are read from: the timer
// database's updates, a Range's last shot and the range checking that compares against it.
// The game runs on std::chrono::steady_clock; tests set a clock of their own and move it.
#pragma once

#include <chrono>
#include <functional>

namespace Engine {

struct GameClock {
    using TimePoint = std::chrono::steady_clock::time_point;

    static TimePoint Now();
    // Replaces the clock for the whole process; an empty function brings the steady clock back.
    static void Set(std::function<TimePoint()> clock);
};

}  // namespace Engine

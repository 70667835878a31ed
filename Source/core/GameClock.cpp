#include "core/GameClock.h"

#include <utility>

namespace Engine {

namespace {
std::function<GameClock::TimePoint()>& Replacement()
{
    static std::function<GameClock::TimePoint()> clock;
    return clock;
}
}  // namespace

GameClock::TimePoint GameClock::Now()
{
    const auto& replacement = Replacement();
    return replacement ? replacement() : std::chrono::steady_clock::now();
}

void GameClock::Set(std::function<TimePoint()> clock) { Replacement() = std::move(clock); }

}  // namespace Engine

#include "core/TimerDatabase.h"

namespace Engine {

// Bodies are filled in with the timer database's own work.
DelayCallTimer::DelayCallTimer(std::int64_t durationMs, std::function<void()> callback) : function(std::move(callback))
{
    remainingMs = durationMs;
}
void DelayCallTimer::Update(std::int64_t) {}
std::unique_ptr<ITimer> DelayCallTimer::Clone() const { return std::make_unique<DelayCallTimer>(*this); }

RepeatFunctionTimer::RepeatFunctionTimer(std::int64_t durationMs, std::function<void()> callback)
    : function(std::move(callback))
{
    remainingMs = durationMs;
}
void RepeatFunctionTimer::Update(std::int64_t) {}
std::unique_ptr<ITimer> RepeatFunctionTimer::Clone() const { return std::make_unique<RepeatFunctionTimer>(*this); }

void TimerDatabase::Init() {}
void TimerDatabase::Update() {}
void TimerDatabase::Shutdown() {}
TimerHandle TimerDatabase::InsertTimer(const ITimer&) { return {}; }

}  // namespace Engine

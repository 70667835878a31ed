#include "core/TimerDatabase.h"

#include "core/GameClock.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace Engine {

DelayCallTimer::DelayCallTimer(std::int64_t durationMs, std::function<void()> callback) : function(std::move(callback))
{
    remainingMs = durationMs;
}

void DelayCallTimer::Update(std::int64_t elapsedMs)
{
    remainingMs -= elapsedMs;
    // Strictly below zero: a 0 ms delay waits for the first update that counts a millisecond.
    if (remainingMs < 0) {
        function();
        active = false;
    }
}

std::unique_ptr<ITimer> DelayCallTimer::Clone() const { return std::make_unique<DelayCallTimer>(*this); }

RepeatFunctionTimer::RepeatFunctionTimer(std::int64_t durationMs, std::function<void()> callback)
    : function(std::move(callback))
{
    remainingMs = durationMs;
}

void RepeatFunctionTimer::Update(std::int64_t elapsedMs)
{
    remainingMs -= elapsedMs;
    function();
    if (remainingMs < 0)
        active = false;
}

std::unique_ptr<ITimer> RepeatFunctionTimer::Clone() const { return std::make_unique<RepeatFunctionTimer>(*this); }

std::int64_t TimerDatabase::SteadyClockNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(GameClock::Now().time_since_epoch())
        .count();
}

void TimerDatabase::Init() { lastTime = clock(); }

void TimerDatabase::Update()
{
    const std::int64_t now = clock();
    // Whole milliseconds only: the fraction of each frame is dropped, not carried over.
    const std::int64_t elapsedMs = (now - lastTime) / 1'000'000;
    lastTime = now;

    // Timers appended by a callback wait for the next pass; a slot refilled ahead of the
    // index is updated in this one.
    const std::size_t count = timers.size();
    for (std::size_t index = 0; index < count; ++index) {
        ITimer* timer = timers[index].get();
        if (!timer->active)
            continue;
        runningSlot = index;
        runningHeld = false;
        timer->Update(elapsedMs);
        runningSlot = NoSlot;
        if (runningHeld)
            heldSlots.push_back(static_cast<std::uint32_t>(index));
        else if (!timer->active)
            FreeSlot(index);
    }
    for (const std::uint32_t slot : heldSlots)
        FreeSlot(slot);
    heldSlots.clear();
}

void TimerDatabase::Shutdown() {}

TimerHandle TimerDatabase::InsertTimer(const ITimer& timer)
{
    // The running slot's timer is never on the heap: it is still inside its own Update, and
    // replacing it would delete the function that is executing.
    if (!freeSlots.empty()) {
        std::pop_heap(freeSlots.begin(), freeSlots.end(), std::greater<>());
        const std::size_t index = freeSlots.back();
        freeSlots.pop_back();
        const ITimer& old = *timers[index];
        std::unique_ptr<ITimer> copy = timer.Clone();
        copy->id = old.id;
        copy->revision = old.revision + 1;
        timers[index] = std::move(copy);
        return {timers[index]->id, timers[index]->revision};
    }

    std::unique_ptr<ITimer> copy = timer.Clone();
    copy->id = static_cast<std::uint32_t>(timers.size());
    copy->revision = 0;
    timers.push_back(std::move(copy));
    return {timers.back()->id, 0};
}

void TimerDatabase::Stop(const TimerHandle& handle)
{
    if (handle.id >= timers.size())
        return;
    ITimer& timer = *timers[handle.id];
    if (timer.revision != handle.revision || !timer.active)
        return;
    timer.active = false;
    if (handle.id != runningSlot)
        FreeSlot(handle.id);
}

void TimerDatabase::StopRunning()
{
    if (runningSlot == NoSlot || !timers[runningSlot]->active)
        return;
    timers[runningSlot]->active = false;
    runningHeld = true;
}

void TimerDatabase::FreeSlot(std::size_t index)
{
    freeSlots.push_back(static_cast<std::uint32_t>(index));
    std::push_heap(freeSlots.begin(), freeSlots.end(), std::greater<>());
}

}  // namespace Engine

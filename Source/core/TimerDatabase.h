// Engine::TimerDatabase (a system of the registry): owns the delayed calls and repeating
// functions and advances them once per running frame in whole milliseconds. Slots of
// finished timers are reused with their revision raised, so old handles stop matching.
// Gameplay code adds timers through AddTimer<T>; the Lua timer functions stop them, and
// refuse to add one once MaxLiveTimers are live.
#pragma once

#include "core/System.h"
#include "core/SystemManager.h"
#include "core/TimerHandle.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace Engine {

class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void Update(std::int64_t elapsedMs) = 0;
    virtual std::unique_ptr<ITimer> Clone() const = 0;

    std::int64_t remainingMs = 0;  // the timer acts when this goes below 0
    bool active = true;            // only active timers are updated
    std::uint32_t id = 0;
    std::uint32_t revision = 0;
};

// Calls its function once, when its time has run out.
class DelayCallTimer : public ITimer {
public:
    DelayCallTimer(std::int64_t durationMs, std::function<void()> callback);
    void Update(std::int64_t elapsedMs) override;
    std::unique_ptr<ITimer> Clone() const override;

    std::function<void()> function;
};

// Calls its function on every update until its time runs out (that update included).
class RepeatFunctionTimer : public ITimer {
public:
    RepeatFunctionTimer(std::int64_t durationMs, std::function<void()> callback);
    void Update(std::int64_t elapsedMs) override;
    std::unique_ptr<ITimer> Clone() const override;

    std::function<void()> function;
};

class TimerDatabase : public System {
public:
    // Nanoseconds of a monotonic clock; the game clock (GameClock) unless a test sets another.
    using Clock = std::function<std::int64_t()>;
    static std::int64_t SteadyClockNanoseconds();

    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Past this many live timers the scripts' Delay and RunFor are refused: a timer function
    // that starts timers of its own doubles them every frame until it meets the ceiling.
    static constexpr std::size_t MaxLiveTimers = 65'536;

    // Stores a copy of the timer in the lowest inactive slot (or a new one) and names it.
    // The slot whose callback is running is never taken, even when that callback stopped it.
    TimerHandle InsertTimer(const ITimer& timer);

    // Clears the timer's active flag when the handle names the slot's current revision;
    // an older revision or an id beyond the list changes nothing.
    void Stop(const TimerHandle& handle);
    // Stops the timer whose function is running now (nothing outside a timer's call), for
    // failing or running past its budget. Its slot stays taken until the pass ends, so a
    // timer bomb at the ceiling cannot refill the slots of the timers it loses.
    void StopRunning();

    // Timers that are active, or whose slot is not free yet.
    std::size_t LiveCount() const { return timers.size() - freeSlots.size(); }
    bool Full() const { return LiveCount() >= MaxLiveTimers; }

    Clock clock = SteadyClockNanoseconds;
    std::int64_t lastTime = 0;  // clock nanoseconds of the previous update
    std::vector<std::unique_ptr<ITimer>> timers;  // index = handle id; never shrunk

private:
    void FreeSlot(std::size_t index);

    static constexpr std::size_t NoSlot = std::numeric_limits<std::size_t>::max();
    std::size_t runningSlot = NoSlot;  // the slot whose Update is on the stack
    bool runningHeld = false;          // StopRunning stopped the running slot
    std::vector<std::uint32_t> heldSlots;  // stopped by StopRunning in this pass
    // The inactive slots, a min-heap so the lowest is taken first; the running slot joins
    // only once its call has returned.
    std::vector<std::uint32_t> freeSlots;
};

template <typename T>
TimerHandle AddTimer(std::int64_t durationMs, std::function<void()> function)
{
    return GetSystem<TimerDatabase>()->InsertTimer(T(durationMs, std::move(function)));
}

}  // namespace Engine

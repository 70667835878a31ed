// Engine::TimerDatabase (a system of the registry): owns the delayed calls and repeating
// functions and advances them once per running frame in whole milliseconds. Slots of
// finished timers are reused with their revision raised, so old handles stop matching.
#pragma once

#include "core/System.h"
#include "core/SystemManager.h"
#include "core/TimerHandle.h"

#include <cstdint>
#include <functional>
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
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Stores a copy of the timer in the first inactive slot (or a new one) and names it.
    TimerHandle InsertTimer(const ITimer& timer);

    std::int64_t lastTime = 0;  // steady-clock nanoseconds of the previous update
    std::vector<std::unique_ptr<ITimer>> timers;
};

template <typename T>
TimerHandle AddTimer(std::int64_t durationMs, std::function<void()> function)
{
    return GetSystem<TimerDatabase>()->InsertTimer(T(durationMs, std::move(function)));
}

}  // namespace Engine

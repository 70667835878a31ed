#include "core/TimerDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using Engine::DelayCallTimer;
using Engine::RepeatFunctionTimer;
using Engine::TimerDatabase;
using Engine::TimerHandle;

namespace {

constexpr std::int64_t NsPerMs = 1'000'000;

// A timer database on a clock that only moves when the test says so.
class TimerDatabaseTest : public testing::Test {
protected:
    void SetUp() override
    {
        database.clock = [this] { return now; };
        database.Init();
    }

    void Step(std::int64_t nanoseconds)
    {
        now += nanoseconds;
        database.Update();
    }

    TimerHandle AddDelay(std::int64_t ms, std::function<void()> f)
    {
        return database.InsertTimer(DelayCallTimer(ms, std::move(f)));
    }
    TimerHandle AddRepeat(std::int64_t ms, std::function<void()> f)
    {
        return database.InsertTimer(RepeatFunctionTimer(ms, std::move(f)));
    }

    std::int64_t now = 5'000 * NsPerMs;  // any start: only differences count
    TimerDatabase database;
};

void ExpectHandle(const TimerHandle& handle, std::uint32_t id, std::uint32_t revision)
{
    EXPECT_EQ(handle.id, id);
    EXPECT_EQ(handle.revision, revision);
}

}  // namespace

TEST_F(TimerDatabaseTest, TimersCountWholeMillisecondsPerUpdate)
{
    struct Case {
        std::string name;
        bool repeating;
        std::int64_t durationMs;
        std::vector<std::int64_t> stepsNs;
        std::vector<int> callsAfterEachStep;
    };
    const std::int64_t ms16 = 16 * NsPerMs;
    const std::vector<Case> cases = {
        // remaining 84, 68, 52, 36, 20, 4, then -12
        {"delay 100 ms at 16 ms", false, 100, {ms16, ms16, ms16, ms16, ms16, ms16, ms16, ms16}, {0, 0, 0, 0, 0, 0, 1, 1}},
        {"repeat 100 ms at 16 ms", true, 100, {ms16, ms16, ms16, ms16, ms16, ms16, ms16, ms16}, {1, 2, 3, 4, 5, 6, 7, 7}},
        // 0 - 0 is not below 0: only an update that counts a millisecond fires it.
        {"delay 0 ms", false, 0, {0, NsPerMs / 2, NsPerMs, NsPerMs}, {0, 0, 1, 1}},
        {"repeat 0 ms", true, 0, {0, NsPerMs, NsPerMs}, {1, 2, 2}},
        // 16.9 ms frames count 16 ms each: the fractions are dropped, not carried over.
        {"delay 100 ms at 16.9 ms", false, 100, {16'900'000, 16'900'000, 16'900'000, 16'900'000, 16'900'000, 16'900'000, 16'900'000},
         {0, 0, 0, 0, 0, 0, 1}},
        {"delay 100 ms exactly reached", false, 100, {100 * NsPerMs, NsPerMs}, {0, 1}},
        // A frozen world does not update timers; the next update counts the whole gap.
        {"delay after a long freeze", false, 100, {60'000 * NsPerMs}, {1}},
        {"repeat after a long freeze", true, 100, {60'000 * NsPerMs, ms16}, {1, 1}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TimerDatabase fresh;
        std::int64_t clock = 0;
        fresh.clock = [&clock] { return clock; };
        fresh.Init();
        int calls = 0;
        if (c.repeating)
            fresh.InsertTimer(RepeatFunctionTimer(c.durationMs, [&calls] { ++calls; }));
        else
            fresh.InsertTimer(DelayCallTimer(c.durationMs, [&calls] { ++calls; }));
        for (std::size_t i = 0; i < c.stepsNs.size(); ++i) {
            clock += c.stepsNs[i];
            fresh.Update();
            EXPECT_EQ(calls, c.callsAfterEachStep[i]) << "after update " << i + 1;
        }
        EXPECT_FALSE(fresh.timers[0]->active);
    }
}

TEST_F(TimerDatabaseTest, FinishedAndStoppedSlotsAreReusedWithTheirRevisionRaised)
{
    const TimerHandle first = AddRepeat(1000, [] {});
    ExpectHandle(first, 0, 0);
    database.Stop(first);
    EXPECT_FALSE(database.timers[0]->active);

    const TimerHandle second = AddRepeat(1000, [] {});
    ExpectHandle(second, 0, 1);
    ExpectHandle(AddRepeat(1000, [] {}), 1, 0);

    // A handle of an older generation leaves the newer timer running.
    database.Stop(first);
    EXPECT_TRUE(database.timers[0]->active);
    // An id beyond the list changes nothing.
    database.Stop({7, 0});
    EXPECT_EQ(database.timers.size(), 2u);

    // A delayed call that has fired frees its slot too.
    int fired = 0;
    ExpectHandle(AddDelay(0, [&fired] { ++fired; }), 2, 0);
    Step(NsPerMs);
    EXPECT_EQ(fired, 1);
    ExpectHandle(AddDelay(50, [] {}), 2, 1);
    database.Stop(second);
    ExpectHandle(AddDelay(50, [] {}), 0, 2);
    EXPECT_EQ(database.timers[0]->id, 0u);
    EXPECT_EQ(database.timers[0]->revision, 2u);
    EXPECT_EQ(database.timers.size(), 3u);
}

TEST_F(TimerDatabaseTest, TimersAddedDuringAPassWaitForTheNextUnlessTheyFillASlotAhead)
{
    std::vector<std::string> calls;
    TimerHandle appended{};
    TimerHandle refilled{};
    bool added = false;

    AddRepeat(1000, [&] {
        calls.push_back("adder");
        if (added)
            return;
        added = true;
        // Slot 1 was stopped before the pass: it is refilled and reached in this pass.
        refilled = AddRepeat(1000, [&calls] { calls.push_back("refilled"); });
        // No free slot is left: this one is appended and waits for the next pass.
        appended = AddRepeat(1000, [&calls] { calls.push_back("appended"); });
    });
    const TimerHandle stopped = AddRepeat(1000, [&calls] { calls.push_back("stopped"); });
    database.Stop(stopped);

    Step(16 * NsPerMs);
    ExpectHandle(refilled, 1, 1);
    ExpectHandle(appended, 2, 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"adder", "refilled"}));

    calls.clear();
    Step(16 * NsPerMs);
    EXPECT_EQ(calls, (std::vector<std::string>{"adder", "refilled", "appended"}));
}

TEST_F(TimerDatabaseTest, ATimerThatStopsItselfAndAddsATimerKeepsItsSlotUntilItsCallReturns)
{
    struct Case {
        std::string name;
        bool repeating;
    };
    for (const Case& c : std::vector<Case>{{"repeating", true}, {"delayed", false}}) {
        SCOPED_TRACE(c.name);
        TimerDatabase fresh;
        std::int64_t clock = 0;
        fresh.clock = [&clock] { return clock; };
        fresh.Init();

        TimerHandle own{};
        TimerHandle added{};
        int addedCalls = 0;
        // Captured state that the callback still reads after adding: it must still be alive.
        std::string label = "self-stopping " + c.name + " timer with a long enough label to live on the heap";
        std::string seenAfterAdding;
        auto callback = [&, label] {
            fresh.Stop(own);
            added = fresh.InsertTimer(DelayCallTimer(0, [&addedCalls] { ++addedCalls; }));
            seenAfterAdding = label;
        };
        if (c.repeating)
            own = fresh.InsertTimer(RepeatFunctionTimer(1000, callback));
        else
            own = fresh.InsertTimer(DelayCallTimer(0, callback));
        const Engine::ITimer* ownTimer = fresh.timers[0].get();

        clock += 16 * NsPerMs;
        fresh.Update();
        EXPECT_EQ(seenAfterAdding, label);
        ExpectHandle(added, 1, 0);
        EXPECT_EQ(fresh.timers[0].get(), ownTimer);
        EXPECT_FALSE(ownTimer->active);
        EXPECT_EQ(addedCalls, 0);  // appended during the pass

        // Once its call has returned the slot is free like any other.
        ExpectHandle(fresh.InsertTimer(DelayCallTimer(0, [] {})), 0, 1);
        clock += 16 * NsPerMs;
        fresh.Update();
        EXPECT_EQ(addedCalls, 1);
    }
}

// Live timers are counted as they are added, stopped and finished; a timer stopped from its own
// call (as a runaway repeating one is) frees its slot only once that call has returned.
TEST_F(TimerDatabaseTest, LiveTimersAreCountedAndAStopFromInsideFreesTheSlotAfterTheCall)
{
    const TimerHandle repeat = AddRepeat(1000, [] {});
    AddDelay(0, [] {});
    TimerHandle addedInside{};
    const TimerHandle runaway = AddRepeat(1000, [&] {
        database.StopRunning();
        addedInside = AddDelay(50, [] {});
    });
    EXPECT_EQ(database.LiveCount(), 3u);
    EXPECT_FALSE(database.Full());

    Step(NsPerMs);
    // The delay has fired and freed slot 1; the runaway's own slot was not free when it added.
    ExpectHandle(addedInside, 1, 1);
    EXPECT_FALSE(database.timers[runaway.id]->active);
    EXPECT_EQ(database.LiveCount(), 2u);
    ExpectHandle(AddDelay(50, [] {}), 2, 1);
    database.Stop(repeat);
    EXPECT_EQ(database.LiveCount(), 2u);
    database.StopRunning();  // outside any timer's call: nothing
    EXPECT_EQ(database.LiveCount(), 2u);
}

TEST_F(TimerDatabaseTest, AnEmptyFunctionRaisesBadFunctionCall)
{
    AddDelay(0, nullptr);
    EXPECT_THROW(Step(NsPerMs), std::bad_function_call);
}

TEST(TimerDatabase, AddTimerInsertsIntoTheRegistrysDatabase)
{
    TimerDatabase* database = Engine::GetSystem<TimerDatabase>();
    const std::size_t before = database->timers.size();
    const TimerHandle delay = Engine::AddTimer<DelayCallTimer>(250, [] {});
    const TimerHandle repeat = Engine::AddTimer<RepeatFunctionTimer>(250, [] {});
    ASSERT_EQ(database->timers.size(), before + 2);
    EXPECT_EQ(delay.id, before);
    EXPECT_EQ(repeat.id, before + 1);
    EXPECT_NE(dynamic_cast<DelayCallTimer*>(database->timers[delay.id].get()), nullptr);
    EXPECT_NE(dynamic_cast<RepeatFunctionTimer*>(database->timers[repeat.id].get()), nullptr);
    EXPECT_EQ(database->timers[repeat.id]->remainingMs, 250);
    EXPECT_TRUE(database->timers[repeat.id]->active);
}

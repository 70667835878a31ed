#include "LogCapture.h"

#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/SystemManager.h"
#include "scripting/ScriptManager.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

using Engine::ComponentStore;
using Engine::EventSet;

namespace {

using QueuedCall = std::pair<std::string, std::uint32_t>;

class EventManagerTest : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        events = Engine::GetSystem<Engine::EventManager>();
        scripts = Engine::GetSystem<Engine::ScriptManager>();
        scripts->runList.clear();
        scripts->runObjectIds.clear();
        player = Engine::GameObjectTable::Instance().CreateGameObject("Player");
        enemy = Engine::GameObjectTable::Instance().CreateGameObject("Enemy");
    }

    // Takes what was queued since the last call, as (handle, object id) pairs.
    std::vector<QueuedCall> TakeQueue()
    {
        EXPECT_EQ(scripts->runList.size(), scripts->runObjectIds.size());
        std::vector<QueuedCall> calls;
        for (std::size_t i = 0; i < scripts->runList.size() && i < scripts->runObjectIds.size(); ++i)
            calls.emplace_back(scripts->runList[i], scripts->runObjectIds[i]);
        scripts->runList.clear();
        scripts->runObjectIds.clear();
        return calls;
    }

    std::vector<std::string> Handlers(std::uint32_t id, const std::string& eventName)
    {
        return ComponentStore::Instance().GetComponent<EventSet>(id)->events.at(eventName);
    }

    Engine::EventManager* events = nullptr;
    Engine::ScriptManager* scripts = nullptr;
    std::uint32_t player = 0;
    std::uint32_t enemy = 0;
};

}  // namespace

TEST_F(EventManagerTest, TriggerQueuesEveryHandlerInListOrderDuplicatesIncluded)
{
    events->AddEvent(player, "OnCollision", "A");
    events->AddEvent(player, "OnCollision", "B");
    events->AddEvent(player, "OnCollision", "A");
    events->AddEvent(enemy, "OnCollision", "Shoot");

    events->TriggerEvent(player, "OnCollision");
    events->TriggerEvent(enemy, "OnCollision");
    events->TriggerEvent(player, "OnCollision");
    const std::vector<QueuedCall> expected = {
        {"A", player}, {"B", player}, {"A", player}, {"Shoot", enemy}, {"A", player}, {"B", player}, {"A", player},
    };
    EXPECT_EQ(TakeQueue(), expected);
    // Triggering leaves the lists as they were.
    EXPECT_EQ(Handlers(player, "OnCollision"), (std::vector<std::string>{"A", "B", "A"}));
}

TEST_F(EventManagerTest, AddEventGivesAnObjectWithoutComponentsAnEventSetOnce)
{
    ASSERT_EQ(ComponentStore::Instance().GetComponent<EventSet>(player), nullptr);
    events->AddEvent(player, "Bottom Collision", "IsGrounded");
    events->AddEvent(player, "Top Collision", "Bonk");

    const EventSet* set = ComponentStore::Instance().GetComponent<EventSet>(player);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->owner, player);
    EXPECT_EQ(set->events.size(), 2u);
    EXPECT_EQ(Handlers(player, "Bottom Collision"), std::vector<std::string>{"IsGrounded"});
    EXPECT_EQ(CoreTest::CountLogged("Added struct Engine::EventSet component to gameobject " + std::to_string(player)), 1u);
}

TEST_F(EventManagerTest, UnregisterRemovesOnlyTheFirstMatchingHandler)
{
    for (const char* handler : {"A", "B", "A"})
        events->AddEvent(player, "OnCollision", handler);

    struct Case {
        std::string remove;
        std::vector<std::string> left;
    };
    const std::vector<Case> cases = {
        {"A", {"B", "A"}},
        {"C", {"B", "A"}},  // not in the list: nothing changes
        {"A", {"B"}},
        {"B", {}},
        {"B", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("remove " + c.remove);
        events->UnRegisterEvent(player, "OnCollision", c.remove);
        EXPECT_EQ(Handlers(player, "OnCollision"), c.left);
    }

    // The emptied list stays in the map and triggers nothing.
    EXPECT_EQ(ComponentStore::Instance().GetComponent<EventSet>(player)->events.count("OnCollision"), 1u);
    events->TriggerEvent(player, "OnCollision");
    EXPECT_TRUE(TakeQueue().empty());
}

TEST_F(EventManagerTest, UnregisteringAnUnknownEventThrowsOutOfRange)
{
    events->AddEvent(player, "OnCollision", "A");
    EXPECT_THROW(events->UnRegisterEvent(player, "InRange", "A"), std::out_of_range);
    EXPECT_EQ(Handlers(player, "OnCollision"), std::vector<std::string>{"A"});
    EXPECT_EQ(ComponentStore::Instance().GetComponent<EventSet>(player)->events.count("InRange"), 0u);

    // Without an event set there is nothing to look up, and nothing happens.
    EXPECT_NO_THROW(events->UnRegisterEvent(enemy, "OnCollision", "A"));
    EXPECT_EQ(ComponentStore::Instance().GetComponent<EventSet>(enemy), nullptr);
}

TEST_F(EventManagerTest, TriggersThatFindNoHandlersQueueNothing)
{
    events->AddEvent(player, "OnCollision", "A");
    events->TriggerEvent(player, "oncollision");  // names compare byte-wise
    events->TriggerEvent(player, "InRange");
    events->TriggerEvent(enemy, "OnCollision");  // no event set
    EXPECT_TRUE(TakeQueue().empty());
    EXPECT_EQ(ComponentStore::Instance().GetComponent<EventSet>(enemy), nullptr);
}

TEST_F(EventManagerTest, IdsOutsideTheTableChangeAndQueueNothing)
{
    events->AddEvent(player, "OnCollision", "A");
    for (const std::uint32_t id :
         {Engine::MaxGameObjects, Engine::MaxGameObjects + 1, std::numeric_limits<std::uint32_t>::max()}) {
        SCOPED_TRACE(id);
        EXPECT_NO_THROW(events->AddEvent(id, "OnCollision", "A"));
        EXPECT_NO_THROW(events->TriggerEvent(id, "OnCollision"));
        EXPECT_NO_THROW(events->UnRegisterEvent(id, "OnCollision", "A"));
        EXPECT_EQ(ComponentStore::Instance().GetComponent<EventSet>(id), nullptr);
    }
    EXPECT_TRUE(TakeQueue().empty());
    EXPECT_EQ(Handlers(player, "OnCollision"), std::vector<std::string>{"A"});
}

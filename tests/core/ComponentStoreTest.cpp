#include "LogCapture.h"

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/HeatMap.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

using Engine::ComponentStore;

namespace {

template <typename T>
ComponentStore::Row& RowOf()
{
    return ComponentStore::Instance().rows[Engine::FamilyId<ComponentStore>::Of<T>()];
}

// Stands in a row slot to show that the store deletes what it holds.
struct DeletionProbe : Engine::Component {
    explicit DeletionProbe(int* deletions) : counter(deletions) {}
    ~DeletionProbe() override { ++*counter; }
    Engine::ComponentType GetType() const override { return Engine::ComponentType::HeatMap; }
    int* counter;
};

template <typename T>
void ExpectAddAndRemoveLines(std::uint32_t objectId, const std::string& displayName)
{
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<T>(objectId);
    store.RemoveComponent<T>(objectId);
    EXPECT_EQ(store.GetComponent<T>(objectId), nullptr);
    const std::string id = std::to_string(objectId);
    EXPECT_EQ(CoreTest::CountLogged("Added " + displayName + " component to gameobject " + id), 1u) << displayName;
    EXPECT_EQ(CoreTest::CountLogged("Removed " + displayName + " component from gameobject " + id), 1u) << displayName;
}

}  // namespace

TEST(ComponentStore, AddAndRemoveLogTheTypesDisplayName)
{
    InitializeLogging();
    ExpectAddAndRemoveLines<Engine::Transform>(20, "struct Engine::Transform");
    ExpectAddAndRemoveLines<Engine::Sprite>(21, "struct Engine::Sprite");
    ExpectAddAndRemoveLines<Engine::RigidBody>(22, "struct Engine::RigidBody");
    ExpectAddAndRemoveLines<Engine::Controller>(23, "struct Engine::Controller");
    ExpectAddAndRemoveLines<Engine::EventSet>(24, "struct Engine::EventSet");
    ExpectAddAndRemoveLines<Engine::Animation>(25, "class Engine::Animation");
    ExpectAddAndRemoveLines<Engine::Parallax>(26, "struct Engine::Parallax");
    ExpectAddAndRemoveLines<Engine::Checkpoint>(27, "struct Engine::Checkpoint");
    ExpectAddAndRemoveLines<Engine::Range>(28, "struct Engine::Range");
    ExpectAddAndRemoveLines<Engine::HeatMap>(12345, "struct Engine::HeatMap");
}

TEST(ComponentStore, AddingAgainReplacesWithDefaults)
{
    InitializeLogging({.repeatWindow = {}});  // every line: the two adds log the same text
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(3);
    store.GetComponent<Engine::Transform>(3)->x_pos = 7.0f;
    store.GetComponent<Engine::Transform>(3)->x_sca = 2.0f;

    store.AddComponent<Engine::Transform>(3);
    const Engine::Transform* again = store.GetComponent<Engine::Transform>(3);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->x_pos, 0.0f);
    EXPECT_EQ(again->x_sca, 1.0f);
    EXPECT_EQ(CoreTest::CountLogged("Added struct Engine::Transform component to gameobject 3"), 2u);
}

TEST(ComponentStore, RemovingAnAbsentComponentLogsAndChangesNothing)
{
    InitializeLogging();
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(4);
    store.GetComponent<Engine::Transform>(4)->y_pos = 3.0f;

    store.RemoveComponent<Engine::Sprite>(4);
    EXPECT_EQ(CoreTest::CountLogged("Removed struct Engine::Sprite component from gameobject 4"), 1u);
    ASSERT_NE(store.GetComponent<Engine::Transform>(4), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::Transform>(4)->y_pos, 3.0f);
}

TEST(ComponentStore, LookupsFindOnlyTheAskedTypeInItsOwnRow)
{
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(5);
    EXPECT_NE(store.GetComponent<Engine::Transform>(5), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::Sprite>(5), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::Transform>(6), nullptr);

    // A record of another type in a row yields nothing rather than a bad downcast.
    RowOf<Engine::Sprite>()[5] = std::make_unique<Engine::Transform>();
    EXPECT_EQ(store.GetComponent<Engine::Sprite>(5), nullptr);
    RowOf<Engine::Animation>()[5] = std::make_unique<Engine::Controller>();
    EXPECT_EQ(store.GetComponent<Engine::Animation>(5), nullptr);
}

TEST(ComponentStore, RemovingAGameObjectDeletesTheComponentsOfEveryRow)
{
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    table.CreateGameObject("Zero");
    const std::uint32_t id = table.CreateGameObject("Doomed");
    const std::uint32_t neighbour = table.CreateGameObject("Neighbour");

    int deletions = 0;
    for (ComponentStore::Row& row : store.rows)
        row[id] = std::make_unique<DeletionProbe>(&deletions);
    store.AddComponent<Engine::Transform>(neighbour);

    table.RemoveGameObject(id);
    EXPECT_EQ(deletions, static_cast<int>(ComponentStore::RowCount));
    for (const ComponentStore::Row& row : store.rows)
        EXPECT_EQ(row[id], nullptr);
    EXPECT_NE(store.GetComponent<Engine::Transform>(neighbour), nullptr);

    // Real records of several types go the same way.
    const std::uint32_t reused = table.CreateGameObject("Reused");
    ASSERT_EQ(reused, id);
    store.AddComponent<Engine::Transform>(reused);
    store.AddComponent<Engine::Controller>(reused);
    store.AddComponent<Engine::EventSet>(reused);
    table.RemoveGameObject(reused);
    EXPECT_EQ(store.GetComponent<Engine::Transform>(reused), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::Controller>(reused), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::EventSet>(reused), nullptr);
}

TEST(ComponentStore, IdsOutsideTheTableFindNothingAndChangeNothing)
{
    InitializeLogging();
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(Engine::MaxGameObjects - 1);
    const Engine::Transform* last = store.GetComponent<Engine::Transform>(Engine::MaxGameObjects - 1);

    for (const std::uint32_t id :
         {Engine::MaxGameObjects, Engine::MaxGameObjects + 1, std::numeric_limits<std::uint32_t>::max()}) {
        SCOPED_TRACE(id);
        store.AddComponent<Engine::Transform>(id);
        EXPECT_EQ(store.GetComponent<Engine::Transform>(id), nullptr);
        store.RemoveComponent<Engine::Transform>(id);
        store.RemoveAllComponents(id);
        EXPECT_EQ(CoreTest::CountLogged("Added struct Engine::Transform component to gameobject " + std::to_string(id)), 0u);
    }
    for (const ComponentStore::Row& row : store.rows)
        EXPECT_EQ(row.size(), Engine::MaxGameObjects);
    EXPECT_EQ(store.GetComponent<Engine::Transform>(Engine::MaxGameObjects - 1), last);
}

#include "LogCapture.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

using Engine::GameObjectTable;
using Engine::InvalidObjectId;
using Engine::MaxGameObjects;
using Engine::ObjectRef;

namespace {

// One step of a scripted session on a fresh table, with the table's state expected after it.
struct TableStep {
    enum class Op { Create, Remove } op;
    std::uint32_t removeId;      // for Remove
    std::uint32_t createdId;     // for Create: the id it must return
    std::uint32_t nextFree;      // after the step
    std::uint32_t highestUsed;   // after the step
};

}  // namespace

TEST(GameObjectTable, IdsAreReusedLowestFirstAndHighestUsedNeverFalls)
{
    InitializeLogging();
    using Op = TableStep::Op;
    const std::vector<TableStep> steps = {
        {Op::Create, 0, 0, 1, 0},
        {Op::Create, 0, 1, 2, 1},
        {Op::Create, 0, 2, 3, 2},
        {Op::Remove, 1, 0, 1, 2},
        {Op::Create, 0, 1, 3, 2},
        {Op::Create, 0, 3, 4, 3},
        {Op::Remove, 3, 0, 3, 3},    // the highest object goes; highestUsed stays
        {Op::Remove, 40, 0, 3, 3},   // an empty slot above nextFree changes nothing
        {Op::Remove, 0, 0, 0, 3},
        {Op::Remove, 2, 0, 0, 3},    // nextFree only falls
        {Op::Create, 0, 0, 2, 3},
        {Op::Create, 0, 2, 3, 3},
        {Op::Create, 0, 3, 4, 3},
    };

    GameObjectTable& table = GameObjectTable::Instance();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const TableStep& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i));
        if (step.op == Op::Create) {
            const std::uint32_t id = table.CreateGameObject("Object " + std::to_string(i));
            ASSERT_EQ(id, step.createdId);
            ASSERT_NE(table.Get(id), nullptr);
            EXPECT_EQ(table.Get(id)->id, id);
            EXPECT_EQ(table.Get(id)->name, "Object " + std::to_string(i));
        } else {
            table.RemoveGameObject(step.removeId);
            EXPECT_EQ(table.Get(step.removeId), nullptr);
        }
        EXPECT_EQ(table.nextFree, step.nextFree);
        EXPECT_EQ(table.highestUsed, step.highestUsed);
    }
    EXPECT_EQ(CoreTest::CountLogged("Creating GameObject 3"), 2u);
    EXPECT_EQ(CoreTest::CountLogged("Removing GameObject 40"), 1u);
}

TEST(GameObjectTable, FullTableRefusesCreationsWithoutTouchingLiveObjects)
{
    InitializeLogging();
    GameObjectTable& table = GameObjectTable::Instance();
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    for (std::uint32_t i = 0; i < MaxGameObjects; ++i)
        ASSERT_EQ(table.CreateGameObject("Filler"), i);
    // The creation that takes the last slot succeeds and warns.
    EXPECT_EQ(CoreTest::CountLogged("Hit GameObject Limit!"), 1u);

    const GameObject* last = table.Get(MaxGameObjects - 1);
    store.AddComponent<Engine::Transform>(MaxGameObjects - 1);
    store.GetComponent<Engine::Transform>(MaxGameObjects - 1)->x_pos = 42.0f;

    EXPECT_EQ(table.CreateGameObject("Overflow"), InvalidObjectId);
    EXPECT_EQ(table.Get(MaxGameObjects - 1), last);
    EXPECT_EQ(last->name, "Filler");
    ASSERT_NE(store.GetComponent<Engine::Transform>(MaxGameObjects - 1), nullptr);
    EXPECT_EQ(store.GetComponent<Engine::Transform>(MaxGameObjects - 1)->x_pos, 42.0f);
    EXPECT_EQ(table.FindGameObject("Overflow"), InvalidObjectId);

    // A freed slot is found again even when it lies above the slot nextFree was left on.
    table.RemoveGameObject(5);
    EXPECT_EQ(table.CreateGameObject("Fifth"), 5u);
    EXPECT_EQ(table.CreateGameObject("Overflow"), InvalidObjectId);
    table.RemoveGameObject(9000);
    EXPECT_EQ(table.CreateGameObject("Late"), 9000u);
    EXPECT_EQ(table.Get(5)->name, "Fifth");
    EXPECT_EQ(table.CreateGameObject("Overflow"), InvalidObjectId);
    EXPECT_EQ(table.highestUsed, MaxGameObjects - 1);
}

TEST(GameObjectTable, IdsOutsideTheTableChangeAndFindNothing)
{
    InitializeLogging();
    GameObjectTable& table = GameObjectTable::Instance();
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    ASSERT_EQ(table.CreateGameObject("Keeper"), 0u);
    store.AddComponent<Engine::Transform>(0);

    for (const std::uint32_t id : {MaxGameObjects, MaxGameObjects + 1, std::numeric_limits<std::uint32_t>::max()}) {
        SCOPED_TRACE(id);
        table.RemoveGameObject(id);
        EXPECT_EQ(table.Get(id), nullptr);
    }
    EXPECT_EQ(table.nextFree, 1u);
    EXPECT_EQ(table.highestUsed, 0u);
    EXPECT_NE(table.Get(0), nullptr);
    EXPECT_NE(store.GetComponent<Engine::Transform>(0), nullptr);
    EXPECT_EQ(CoreTest::CountLogged("Removing GameObject 16384"), 0u);
}

TEST(GameObjectTable, FindReturnsTheLowestIdBearingTheExactName)
{
    GameObjectTable& table = GameObjectTable::Instance();
    table.CreateGameObject("Enemy");   // 0
    table.CreateGameObject("Player");  // 1
    table.CreateGameObject("Enemy");   // 2
    table.CreateGameObject("");        // 3: empty names are allowed
    table.CreateGameObject("Player");  // 4

    struct Case {
        std::string name;
        std::uint32_t id;
    };
    const std::vector<Case> cases = {
        {"Player", 1}, {"Enemy", 0}, {"", 3}, {"player", InvalidObjectId}, {"Player ", InvalidObjectId},
        {"Play", InvalidObjectId}, {std::string("Player\0x", 8), InvalidObjectId},
    };
    for (const Case& c : cases)
        EXPECT_EQ(table.FindGameObject(c.name), c.id) << '"' << c.name << '"';

    table.RemoveGameObject(1);
    EXPECT_EQ(table.FindGameObject("Player"), 4u);
    table.RemoveGameObject(4);
    EXPECT_EQ(table.FindGameObject("Player"), InvalidObjectId);
}

TEST(GameObjectTable, RemovalAdvancesTheSlotsGenerationAndOnlyThatOne)
{
    InitializeLogging();
    GameObjectTable& table = GameObjectTable::Instance();
    const std::uint32_t first = table.CreateGameObject("First");
    const std::uint32_t second = table.CreateGameObject("Second");
    const std::uint32_t firstBorn = table.Ref(first).generation;
    const std::uint32_t secondBorn = table.Ref(second).generation;

    table.RemoveGameObject(first);
    EXPECT_EQ(table.CreateGameObject("Successor"), first);  // the same id, a new generation
    EXPECT_NE(table.Ref(first).generation, firstBorn);
    EXPECT_EQ(table.Ref(second).generation, secondBorn);
    EXPECT_EQ(table.Ref(MaxGameObjects).generation, 0u);
}

TEST(ObjectRef, StaysLiveUntilItsOwnObjectIsRemovedEvenWhenTheIdIsReused)
{
    InitializeLogging();
    GameObjectTable& table = GameObjectTable::Instance();
    const std::uint32_t bullet = table.CreateGameObject("bullet");
    const std::uint32_t enemy = table.CreateGameObject("Enemy");
    const ObjectRef bulletRef = table.Ref(bullet);
    const ObjectRef enemyRef = table.Ref(enemy);
    EXPECT_TRUE(bulletRef.IsLive());
    EXPECT_TRUE(enemyRef.IsLive());

    table.RemoveGameObject(bullet);
    EXPECT_FALSE(bulletRef.IsLive());
    EXPECT_TRUE(enemyRef.IsLive()) << "another object's removal must not touch this one";
    EXPECT_FALSE(table.Ref(bullet).IsLive()) << "a free slot holds nothing to refer to";

    ASSERT_EQ(table.CreateGameObject("Digit"), bullet);
    EXPECT_FALSE(bulletRef.IsLive()) << "the new object in the slot is not the one referred to";
    EXPECT_NE(table.Ref(bullet), bulletRef);
    EXPECT_TRUE(table.Ref(bullet).IsLive());
}

TEST(ObjectRef, RefsOutsideTheTableOrToNeverUsedSlotsAreNotLive)
{
    InitializeLogging();
    GameObjectTable& table = GameObjectTable::Instance();
    table.CreateGameObject("Player");
    for (const ObjectRef ref : {ObjectRef{}, table.Ref(InvalidObjectId), table.Ref(MaxGameObjects + 7),
                                table.Ref(MaxGameObjects - 1), ObjectRef{0, 1}})
        EXPECT_FALSE(ref.IsLive()) << "slot " << ref.slot << ", generation " << ref.generation;
}

#include "GameplayScene.h"

#include "gameplay/CollisionUpdate.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

namespace {
constexpr std::int32_t Static = 0;
constexpr std::int32_t Dynamic = 1;
constexpr std::int32_t Kinematic = 2;

const std::vector<Engine::CollisionRecord>& Records()
{
    return Engine::GetSystem<Engine::CollisionUpdate>()->records;
}
}  // namespace

// A is a Static 100 x 100 box centred on the origin; B a Dynamic box tested at its prediction.
TEST(CollisionUpdate, BoxTestSetsTheSidesAndDepthsOfEachOverlap)
{
    struct Case {
        const char* what;
        float bX, bY, bHalfW, bHalfH;
        bool sides[4];
        float depthX, depthY;  // checked when an x or y side is set
    };
    const std::vector<Case> cases = {
        {"to the right by 4 in x, spanning A in y", 96.0f, 0.0f, 50.0f, 80.0f, {false, false, false, true}, 4.1f, 0.0f},
        {"to the left by 4 in x, spanning A in y", -96.0f, 0.0f, 50.0f, 80.0f, {false, false, true, false}, 4.1f, 0.0f},
        {"sunk 3 into A's top", 0.0f, 57.0f, 80.0f, 10.0f, {true, false, false, false}, 0.0f, 3.1f},
        {"pushed 6 into A's bottom", 0.0f, -54.0f, 80.0f, 10.0f, {false, true, false, false}, 0.0f, 6.1f},
        {"over A's top right corner", 55.0f, 55.0f, 10.0f, 10.0f, {true, false, false, true}, 5.1f, 5.1f},
        // The sides speak of B's edges: a B inside A has its right and top edges within A's spans.
        {"inside A", 5.0f, -5.0f, 10.0f, 10.0f, {false, true, true, false}, 65.1f, 55.1f},
    };
    const std::uint32_t a = AddObject("Floor", 0.0f, 0.0f);
    AddBox(a, Static, 50.0f, 50.0f);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t b = AddObject("Player", 1000.0f, 1000.0f);  // the Transform is not what is tested
        AddBox(b, Dynamic, c.bHalfW, c.bHalfH);
        AddMover(b, c.bX, c.bY);

        Step<Engine::CollisionUpdate>();

        ASSERT_EQ(Records().size(), 1u);
        const Engine::CollisionRecord& record = Records()[0];
        EXPECT_EQ(record.ownerA, a);
        EXPECT_EQ(record.ownerB, b);
        EXPECT_EQ(record.kind, 0);
        for (int side = 0; side < 4; ++side)
            EXPECT_EQ(record.sides[side], c.sides[side]) << "side " << side;
        if (c.sides[2] || c.sides[3]) {
            EXPECT_FLOAT_EQ(record.depthX, c.depthX);
        }
        if (c.sides[0] || c.sides[1]) {
            EXPECT_FLOAT_EQ(record.depthY, c.depthY);
        }
        Engine::GameObjectTable::Instance().RemoveGameObject(b);
    }
}

// Overlaps that set no side are seen but not recorded: no "OnCollision", nothing to push.
TEST(CollisionUpdate, OverlapsWithoutASideRaiseOnlyCollisionDetected)
{
    struct Case {
        const char* what;
        float bX, bY, bHalfW, bHalfH;
        bool detected;
    };
    const std::vector<Case> cases = {
        {"touching A's right edge", 60.0f, 0.0f, 10.0f, 50.0f, true},
        {"touching A's top edge", 0.0f, 60.0f, 50.0f, 10.0f, true},
        {"touching at a corner", 60.0f, 60.0f, 10.0f, 10.0f, true},
        // Sharing an edge line while overlapping along the other axis: still nothing inside A.
        {"touching A's right edge beside its upper half", 55.0f, 30.0f, 5.0f, 10.0f, true},
        {"touching A's top edge over its right edge", 50.0f, 60.0f, 10.0f, 10.0f, true},
        {"around A", 0.0f, 0.0f, 70.0f, 70.0f, true},
        {"identical to A", 0.0f, 0.0f, 50.0f, 50.0f, true},
        {"apart from A", 61.0f, 0.0f, 10.0f, 10.0f, false},
    };
    const std::uint32_t a = AddObject("Floor", 0.0f, 0.0f);
    AddBox(a, Static, 50.0f, 50.0f);
    Listen(a, {"Collision Detected", "OnCollision"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t b = AddObject("Player", c.bX, c.bY);
        AddBox(b, Dynamic, c.bHalfW, c.bHalfH);
        Listen(b, {"Collision Detected", "OnCollision"});
        ClearQueue();

        Step<Engine::CollisionUpdate>();

        EXPECT_TRUE(Records().empty());
        const std::vector<Call> detected = {{"Collision Detected", a}, {"Collision Detected", b}};
        const std::vector<Call> expected = c.detected ? detected : std::vector<Call>{};
        EXPECT_EQ(QueuedCalls(), expected);
        Engine::GameObjectTable::Instance().RemoveGameObject(b);
    }
}

TEST(CollisionUpdate, RaisesEventsPairByPairInIdOrder)
{
    // Three overlapping Dynamic boxes: pairs (0,1), (0,2), (1,2), each "Collision Detected" on A
    // and B and then "OnCollision" on A and B.
    std::vector<std::uint32_t> ids;
    for (float x : {0.0f, 15.0f, 30.0f}) {
        const std::uint32_t id = AddObject("Box", x, 0.0f);
        AddBox(id, Dynamic, 10.0f, 10.0f);
        Listen(id, {"OnCollision", "Collision Detected"});
        ids.push_back(id);
    }
    // Boxes 0 and 2 only touch (10 and 20 apart): detected, not recorded.
    Get<Engine::Transform>(ids[2])->x_pos = 20.0f;
    ClearQueue();

    Step<Engine::CollisionUpdate>();

    const std::vector<Call> expected = {
        {"Collision Detected", ids[0]}, {"Collision Detected", ids[1]},
        {"OnCollision", ids[0]},        {"OnCollision", ids[1]},
        {"Collision Detected", ids[0]}, {"Collision Detected", ids[2]},
        {"Collision Detected", ids[1]}, {"Collision Detected", ids[2]},
        {"OnCollision", ids[1]},        {"OnCollision", ids[2]},
    };
    EXPECT_EQ(QueuedCalls(), expected);
    ASSERT_EQ(Records().size(), 2u);
    EXPECT_EQ(Records()[0].ownerA, ids[0]);
    EXPECT_EQ(Records()[0].ownerB, ids[1]);
    EXPECT_EQ(Records()[1].ownerA, ids[1]);
    EXPECT_EQ(Records()[1].ownerB, ids[2]);

    // Records describe one frame: apart, the next sweep leaves none.
    for (std::uint32_t id : ids)
        Get<Engine::Transform>(id)->x_pos = 100.0f * static_cast<float>(id);
    Step<Engine::CollisionUpdate>();
    EXPECT_TRUE(Records().empty());
}

TEST(CollisionUpdate, TestsOnlyBoxPairsWithAMovingBody)
{
    struct Case {
        const char* what;
        std::int32_t typeA, typeB;
        std::int32_t colliderB;
        bool ghostB;
        bool tested;
    };
    const std::vector<Case> cases = {
        {"two Static boxes", Static, Static, 0, false, false},
        {"Static against Kinematic", Static, Kinematic, 0, false, true},
        {"Kinematic against Static", Kinematic, Static, 0, false, true},
        {"Static against Dynamic", Static, Dynamic, 0, false, true},
        {"a Line collider", Static, Dynamic, 1, false, false},
        {"a ghost body", Static, Dynamic, 0, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t a = AddObject("A", 0.0f, 0.0f);
        AddBox(a, c.typeA, 10.0f, 10.0f);
        const std::uint32_t b = AddObject("B", 15.0f, 0.0f);
        Engine::RigidBody& body = AddBox(b, c.typeB, 10.0f, 10.0f);
        body.ColliderType = c.colliderB;
        body.Ghost = c.ghostB;
        Listen(a, {"OnCollision"});
        Listen(b, {"OnCollision"});
        ClearQueue();

        Step<Engine::CollisionUpdate>();

        EXPECT_EQ(Records().size(), c.tested ? 1u : 0u);
        const std::vector<Call> told = {{"OnCollision", a}, {"OnCollision", b}};
        EXPECT_EQ(QueuedCalls(), c.tested ? told : std::vector<Call>{});
        Engine::GameObjectTable::Instance().RemoveGameObject(a);
        Engine::GameObjectTable::Instance().RemoveGameObject(b);
    }
}

TEST(CollisionUpdate, TestsAControllerAtItsPredictionAndSkipsBodiesWithoutAPosition)
{
    const std::uint32_t nowhere = Engine::GameObjectTable::Instance().CreateGameObject("Nowhere");
    AddBox(nowhere, Dynamic, 1000.0f, 1000.0f);  // no Transform, no Controller: takes no part
    const std::uint32_t wall = AddObject("Wall", 0.0f, 0.0f);
    AddBox(wall, Static, 10.0f, 10.0f);
    const std::uint32_t enemy = AddObject("Enemy", 500.0f, 0.0f);
    AddBox(enemy, Kinematic, 10.0f, 10.0f);
    AddMover(enemy, 15.0f, 0.0f);  // its prediction overlaps the wall, its Transform does not

    Step<Engine::CollisionUpdate>();

    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].ownerA, wall);
    EXPECT_EQ(Records()[0].ownerB, enemy);
    EXPECT_TRUE(Records()[0].sides[3]);
    EXPECT_FLOAT_EQ(Records()[0].depthX, 5.1f);
}

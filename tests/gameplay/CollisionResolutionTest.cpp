#include "GameplayScene.h"

#include "gameplay/CollisionResolution.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PositionUpdate.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

namespace {
constexpr std::int32_t Static = 0;
constexpr std::int32_t Dynamic = 1;
constexpr std::int32_t Kinematic = 2;

const std::initializer_list<const char*> SideEvents = {"Bottom Collision", "Top Collision", "Left Collision",
                                                       "Right Collision"};

void DetectAndResolve()
{
    Step<Engine::CollisionUpdate>();
    ClearQueue();  // only the side events of resolution are looked at
    Step<Engine::CollisionResolution>();
}
}  // namespace

TEST(CollisionResolution, DynamicFallingOnStaticFloorIsLiftedWhicheverIdIsLower)
{
    for (const bool floorFirst : {true, false}) {
        SCOPED_TRACE(floorFirst ? "floor has the lower id" : "player has the lower id");
        std::uint32_t floor = 0;
        std::uint32_t player = 0;
        const auto makeFloor = [&] {
            floor = AddObject("Floor", 0.0f, 0.0f);
            AddBox(floor, Static, 100.0f, 10.0f);
            Listen(floor, SideEvents);
        };
        const auto makePlayer = [&] {
            player = AddObject("Player", 5.0f, 25.0f);
            AddBox(player, Dynamic, 10.0f, 10.0f);
            Listen(player, SideEvents);
            Engine::Controller& controller = Add<Engine::Controller>(player);
            controller.x_vel = 100.0f;
            controller.y_vel = -300.0f;
        };
        if (floorFirst) {
            makeFloor();
            makePlayer();
        } else {
            makePlayer();
            makeFloor();
        }
        FrameDeltaTime = 0.05f;

        // One frame's collision steps: the prediction sinks 0.021875 into the floor's top at 10.
        Step<Engine::PhysicsUpdate>();
        DetectAndResolve();
        Step<Engine::PositionUpdate>();

        const Engine::Controller* controller = Get<Engine::Controller>(player);
        EXPECT_EQ(QueuedCalls(), (std::vector<Call>{{"Bottom Collision", player}}));
        EXPECT_EQ(controller->y_vel, 0.0f);
        EXPECT_EQ(controller->x_vel, 100.0f);
        EXPECT_FLOAT_EQ(Get<Engine::Transform>(player)->y_pos, 20.1f) << "lifted by the depth, 0.1 clear of the floor";
        EXPECT_FLOAT_EQ(Get<Engine::Transform>(player)->x_pos, 10.00703125f);
        EXPECT_EQ(Get<Engine::Transform>(floor)->y_pos, 0.0f);

        Engine::GameObjectTable::Instance().RemoveGameObject(floor);
        Engine::GameObjectTable::Instance().RemoveGameObject(player);
        ClearQueue();
    }
}

TEST(CollisionResolution, TwoDynamicBodiesArePushedApartByTheFullDepthEach)
{
    const std::uint32_t a = AddObject("A", 0.0f, 0.0f);
    AddBox(a, Dynamic, 10.0f, 10.0f);
    Engine::Controller& left = AddMover(a, 0.0f, 0.0f, 50.0f, 7.0f);
    const std::uint32_t b = AddObject("B", 15.0f, 0.0f);
    AddBox(b, Dynamic, 10.0f, 10.0f);
    Engine::Controller& right = AddMover(b, 15.0f, 0.0f, -50.0f, 7.0f);
    Listen(a, SideEvents);
    Listen(b, SideEvents);

    DetectAndResolve();

    EXPECT_FLOAT_EQ(left.next_x_pos, -5.1f);
    EXPECT_FLOAT_EQ(right.next_x_pos, 20.1f);
    EXPECT_EQ(left.x_vel, 0.0f);
    EXPECT_EQ(right.x_vel, 0.0f);
    EXPECT_EQ(left.y_vel, 7.0f) << "only the velocity along the push is zeroed";
    EXPECT_EQ(QueuedCalls(), (std::vector<Call>{{"Right Collision", a}, {"Left Collision", b}}));
}

TEST(CollisionResolution, OnlyDynamicBodiesWithAControllerMoveAndGhostsNeverDo)
{
    struct Case {
        const char* what;
        std::int32_t otherType;
        bool otherHasController;
        bool ghost;  // on the other body
        bool moverPushed;
    };
    const std::vector<Case> cases = {
        {"against a Kinematic body with a Controller", Kinematic, true, false, true},
        {"against a Dynamic body without a Controller", Dynamic, false, false, true},
        {"against a Static body", Static, false, false, true},
        {"against a Dynamic ghost", Dynamic, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t other = AddObject("Other", 0.0f, 0.0f);
        AddBox(other, c.otherType, 10.0f, 10.0f).Ghost = c.ghost;
        if (c.otherHasController)
            AddMover(other, 0.0f, 0.0f, 40.0f, 40.0f);
        const std::uint32_t mover = AddObject("Mover", 15.0f, 0.0f);
        AddBox(mover, Dynamic, 10.0f, 10.0f);
        Engine::Controller& controller = AddMover(mover, 15.0f, 0.0f, -40.0f, 0.0f);
        Listen(other, SideEvents);
        Listen(mover, SideEvents);

        DetectAndResolve();

        if (c.moverPushed) {
            EXPECT_FLOAT_EQ(controller.next_x_pos, 20.1f);
            EXPECT_EQ(controller.x_vel, 0.0f);
            EXPECT_EQ(QueuedCalls(), (std::vector<Call>{{"Left Collision", mover}}));
        } else {
            EXPECT_EQ(controller.next_x_pos, 15.0f);
            EXPECT_EQ(controller.x_vel, -40.0f);
            EXPECT_TRUE(QueuedCalls().empty());
        }
        if (const Engine::Controller* otherController = Get<Engine::Controller>(other)) {
            EXPECT_EQ(otherController->next_x_pos, 0.0f);
            EXPECT_EQ(otherController->x_vel, 40.0f);
        }
        EXPECT_EQ(Get<Engine::Transform>(other)->x_pos, 0.0f);
        Engine::GameObjectTable::Instance().RemoveGameObject(other);
        Engine::GameObjectTable::Instance().RemoveGameObject(mover);
        ClearQueue();
    }
}

struct CornerCase {
    const char* what;
    float currentX, currentY;  // the moving body's Transform, where it comes from
    float xVel, yVel;
    float nextX, nextY;  // its prediction after resolution
    bool xVelZeroed, yVelZeroed;
    std::vector<std::string> events;
    std::int32_t blockType = Static;  // the block's body type, where the block is the other body
};

// A Dynamic player (B) over the top left corner of a Static block (A, x 0..100, y -100..0),
// predicted at (-5, 5): 5.1 deep on both axes. With A not Dynamic, B's signed velocity decides.
TEST(CollisionResolution, CornerAboveABlockGoesToTheAxisReachedFirst)
{
    const std::vector<CornerCase> cases = {
        {"fast sideways: x reached first", -12.0f, 12.0f, 600.0f, -100.0f, -10.1f, 5.0f, true, false,
         {"Right Collision"}},
        {"falling fast: y reached first", -12.0f, 12.0f, 100.0f, -600.0f, -5.0f, 10.1f, false, true,
         {"Bottom Collision"}},
        {"at rest: no time to compare, y", -12.0f, 12.0f, 0.0f, 0.0f, -5.0f, 10.1f, false, true, {"Bottom Collision"}},
        {"already level with the top: x first, then y", -5.0f, -2.0f, 100.0f, -100.0f, -10.1f, 10.1f, true, true,
         {"Right Collision", "Bottom Collision"}},
        // A Dynamic A has its own speed read; without a Controller there is none, and y is taken.
        {"fast sideways at a Dynamic block without a Controller", -12.0f, 12.0f, 600.0f, -100.0f, -5.0f, 10.1f, false,
         true, {"Bottom Collision"}, Dynamic},
    };
    for (const CornerCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t block = AddObject("Block", 50.0f, -50.0f);
        AddBox(block, c.blockType, 50.0f, 50.0f);
        const std::uint32_t player = AddObject("Player", c.currentX, c.currentY);
        AddBox(player, Dynamic, 10.0f, 10.0f);
        Engine::Controller& controller = AddMover(player, -5.0f, 5.0f, c.xVel, c.yVel);
        Listen(player, SideEvents);

        DetectAndResolve();

        EXPECT_FLOAT_EQ(controller.next_x_pos, c.nextX);
        EXPECT_FLOAT_EQ(controller.next_y_pos, c.nextY);
        EXPECT_EQ(controller.x_vel, c.xVelZeroed ? 0.0f : c.xVel);
        EXPECT_EQ(controller.y_vel, c.yVelZeroed ? 0.0f : c.yVel);
        EXPECT_EQ(QueuedScriptNames(), c.events);
        Engine::GameObjectTable::Instance().RemoveGameObject(block);
        Engine::GameObjectTable::Instance().RemoveGameObject(player);
        ClearQueue();
    }
}

// A Dynamic player (A, the lower id) over the top left corner of a Static block (B, x 5..105,
// y -105..-5), predicted at (0, 0): 5.1 deep on both axes, 3 away on both axes where it comes
// from. A's own speed decides, and a zero speed on an axis gives that axis a time of 0.
TEST(CollisionResolution, CornerOnABlockUsesThePlayersSpeedAndZeroTimes)
{
    const std::vector<CornerCase> cases = {
        {"no x speed: x time 0 wins", -8.0f, 8.0f, 0.0f, -100.0f, -5.1f, 0.0f, true, false, {"Right Collision"}},
        {"no y speed: y time 0, x loses", -8.0f, 8.0f, 100.0f, 0.0f, 0.0f, 5.1f, false, true, {"Bottom Collision"}},
        {"no speed: both 0, y wins", -8.0f, 8.0f, 0.0f, 0.0f, 0.0f, 5.1f, false, true, {"Bottom Collision"}},
        {"faster in x", -8.0f, 8.0f, 300.0f, -100.0f, -5.1f, 0.0f, true, false, {"Right Collision"}},
        {"faster in x, leftward", -8.0f, 8.0f, -300.0f, -100.0f, -5.1f, 0.0f, true, false, {"Right Collision"}},
        {"faster in y", -8.0f, 8.0f, 100.0f, -300.0f, 0.0f, 5.1f, false, true, {"Bottom Collision"}},
    };
    for (const CornerCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t player = AddObject("Player", c.currentX, c.currentY);
        AddBox(player, Dynamic, 10.0f, 10.0f);
        Engine::Controller& controller = AddMover(player, 0.0f, 0.0f, c.xVel, c.yVel);
        Listen(player, SideEvents);
        const std::uint32_t block = AddObject("Block", 55.0f, -55.0f);
        AddBox(block, Static, 50.0f, 50.0f);

        DetectAndResolve();

        EXPECT_FLOAT_EQ(controller.next_x_pos, c.nextX);
        EXPECT_FLOAT_EQ(controller.next_y_pos, c.nextY);
        EXPECT_EQ(controller.x_vel, c.xVelZeroed ? 0.0f : c.xVel);
        EXPECT_EQ(controller.y_vel, c.yVelZeroed ? 0.0f : c.yVel);
        EXPECT_EQ(QueuedScriptNames(), c.events);
        Engine::GameObjectTable::Instance().RemoveGameObject(block);
        Engine::GameObjectTable::Instance().RemoveGameObject(player);
        ClearQueue();
    }
}

// When neither axis has a time to contact (no speed left on either, or no gap on either), the
// shallower overlap is the way out. The case that matters: a player (80 by 100) standing on
// the floor, so its fall was stopped, runs into a one-block step (x 1900..2500, y 0..100):
// its prediction sinks 0.2 below the step's bottom and 7.5 into its side. The first push of
// the corner stops the run; a y push then would take the player the step's height down.
TEST(CollisionResolution, CornerWithNoTimeOnEitherAxisGoesToTheShallowerOverlap)
{
    struct Case {
        const char* what;
        bool blockFirst;  // the block has the lower id, so the player's own speed is not read
        float blockX, blockY, blockHalfWidth, blockHalfHeight;
        float playerHalfWidth, playerHalfHeight;
        float currentX, currentY, nextX, nextY, xVel, yVel;
        float resolvedX, resolvedY;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases = {
        {"running into a step from the floor", false, 2200.0f, 50.0f, 300.0f, 50.0f, 40.0f, 50.0f, 1859.5f, 50.5f,
         1867.5f, 49.8f, 450.0f, 0.0f, 1852.3f, 49.8f, {"Right Collision", "Right Collision"}},
        {"running into a step from the floor, the step first", true, 2200.0f, 50.0f, 300.0f, 50.0f, 40.0f, 50.0f,
         1859.5f, 50.5f, 1867.5f, 49.8f, 450.0f, 0.0f, 1852.3f, 49.8f, {"Right Collision", "Right Collision"}},
        {"running into a step while falling: its speed decides, as before", false, 2200.0f, 50.0f, 300.0f, 50.0f,
         40.0f, 50.0f, 1859.5f, 50.5f, 1867.5f, 49.8f, 450.0f, -17.5f, 1852.3f, 49.8f,
         {"Right Collision", "Right Collision"}},
        // A 10 by 10 (half sizes) player at rest over a block's top left corner, 4 and 10 away.
        {"at rest, shallower in y", false, 52.0f, -58.0f, 50.0f, 50.0f, 10.0f, 10.0f, -12.0f, 12.0f, 0.0f, 0.0f, 0.0f,
         0.0f, 0.0f, 2.1f, {"Bottom Collision"}},
        {"at rest, shallower in x", false, 58.0f, -52.0f, 50.0f, 50.0f, 10.0f, 10.0f, -12.0f, 12.0f, 0.0f, 0.0f, 0.0f,
         0.0f, -2.1f, 0.0f, {"Right Collision"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::uint32_t block = 0;
        const auto makeBlock = [&] {
            block = AddObject("Block", c.blockX, c.blockY);
            AddBox(block, Static, c.blockHalfWidth, c.blockHalfHeight);
        };
        if (c.blockFirst)
            makeBlock();
        const std::uint32_t player = AddObject("Player", c.currentX, c.currentY);
        AddBox(player, Dynamic, c.playerHalfWidth, c.playerHalfHeight);
        Engine::Controller& controller = AddMover(player, c.nextX, c.nextY, c.xVel, c.yVel);
        Listen(player, SideEvents);
        if (!c.blockFirst)
            makeBlock();

        DetectAndResolve();

        EXPECT_FLOAT_EQ(controller.next_x_pos, c.resolvedX);
        EXPECT_FLOAT_EQ(controller.next_y_pos, c.resolvedY) << "never pushed down into the floor";
        EXPECT_EQ(QueuedScriptNames(), c.events);
        Engine::GameObjectTable::Instance().RemoveGameObject(block);
        Engine::GameObjectTable::Instance().RemoveGameObject(player);
        ClearQueue();
    }
}

#include "GameplayScene.h"

#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PositionUpdate.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

TEST(PhysicsUpdate, PredictsFromTransformVelocityAndConstantAcceleration)
{
    struct Case {
        const char* what;
        float x, y, xVel, yVel, dt;
        float nextX, nextY;
    };
    // The accelerations 5.625 and -17.5 always apply: 0.5 * a * dt^2 even at rest.
    const std::vector<Case> cases = {
        {"no time passes", 30.0f, -40.0f, 200.0f, -300.0f, 0.0f, 30.0f, -40.0f},
        {"at rest for 0.5 s", 10.0f, 20.0f, 0.0f, 0.0f, 0.5f, 10.703125f, 17.8125f},
        {"moving for 0.5 s", 10.0f, 20.0f, 100.0f, -40.0f, 0.5f, 60.703125f, -2.1875f},
        {"moving left for 0.25 s", 0.0f, 0.0f, -400.0f, 520.0f, 0.25f, -99.82422f, 129.45312f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t id = AddObject("Mover", c.x, c.y);
        Engine::Controller& controller = Add<Engine::Controller>(id);
        controller.x_vel = c.xVel;
        controller.y_vel = c.yVel;
        FrameDeltaTime = c.dt;

        Step<Engine::PhysicsUpdate>();

        EXPECT_FLOAT_EQ(controller.next_x_pos, c.nextX);
        EXPECT_FLOAT_EQ(controller.next_y_pos, c.nextY);
        EXPECT_EQ(controller.x_vel, c.xVel) << "velocity is never integrated";
        EXPECT_EQ(controller.y_vel, c.yVel);
        EXPECT_EQ(Get<Engine::Transform>(id)->x_pos, c.x) << "the prediction leaves the Transform alone";
        Engine::GameObjectTable::Instance().RemoveGameObject(id);
    }
}

TEST(PhysicsUpdate, CommitMovesOnlyObjectsWithAControllerToTheirCorrectedPrediction)
{
    const std::uint32_t mover = AddObject("Mover", 0.0f, 0.0f);
    Engine::Controller& controller = Add<Engine::Controller>(mover);
    controller.x_vel = 60.0f;
    const std::uint32_t crate = AddObject("Crate", 5.0f, 6.0f);
    FrameDeltaTime = 0.5f;

    Step<Engine::PhysicsUpdate>();
    controller.next_y_pos = 99.0f;  // a correction between prediction and commit, as resolution makes
    Step<Engine::PositionUpdate>();

    const Engine::Transform* moved = Get<Engine::Transform>(mover);
    EXPECT_FLOAT_EQ(moved->x_pos, 30.703125f);
    EXPECT_EQ(moved->y_pos, 99.0f);
    EXPECT_EQ(moved->z_pos, 0.0f);
    EXPECT_EQ(moved->x_sca, 1.0f);
    EXPECT_EQ(Get<Engine::Transform>(crate)->x_pos, 5.0f);
    EXPECT_EQ(Get<Engine::Transform>(crate)->y_pos, 6.0f);

    // The next frame starts from wherever the Transform was put in between.
    Get<Engine::Transform>(mover)->x_pos = -100.0f;
    FrameDeltaTime = 0.0f;
    Step<Engine::PhysicsUpdate>();
    EXPECT_EQ(controller.next_x_pos, -100.0f);
}

TEST(PhysicsUpdate, WalksOnlyUpToTheHighestUsedIdAndSkipsControllersWithoutTransform)
{
    const std::uint32_t lone = Engine::GameObjectTable::Instance().CreateGameObject("No Transform");
    Engine::Controller& unplaced = Add<Engine::Controller>(lone);
    unplaced.next_x_pos = 7.0f;
    unplaced.x_vel = 100.0f;
    // Components on an id past the highest used one are not part of the world yet.
    const std::uint32_t beyond = Engine::GameObjectTable::Instance().highestUsed + 5;
    Engine::Transform& farTransform = Add<Engine::Transform>(beyond);
    farTransform.x_pos = 1.0f;
    Engine::Controller& farController = Add<Engine::Controller>(beyond);
    farController.next_x_pos = 50.0f;
    FrameDeltaTime = 0.5f;

    Step<Engine::PhysicsUpdate>();
    Step<Engine::PositionUpdate>();

    EXPECT_EQ(unplaced.next_x_pos, 7.0f);
    EXPECT_EQ(farController.next_x_pos, 50.0f);
    EXPECT_EQ(farTransform.x_pos, 1.0f);
}

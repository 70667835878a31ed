#include "GameplayScene.h"

#include "core/Parallax.h"
#include "gameplay/ParallaxSystem.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

namespace {
std::uint32_t AddLayer(std::int32_t level, float offsetX, float offsetY)
{
    const std::uint32_t id = AddObject("Layer", -999.0f, -999.0f);  // overwritten by the system
    Get<Engine::Transform>(id)->z_pos = 42.0f;
    Engine::Parallax& layer = Add<Engine::Parallax>(id);
    layer.Level = level;
    layer.PosX = offsetX;
    layer.PosY = offsetY;
    return id;
}
}  // namespace

TEST(ParallaxSystem, PlacesEachLayerByItsShareOfThePlayersPosition)
{
    struct Case {
        const char* what;
        std::int32_t level;
        float x, y, z;
    };
    // The player at (400, 100); every layer has the offset (10, 20).
    const std::vector<Case> cases = {
        {"Foreground moves with the player", 1, 410.0f, 120.0f, -1.0f},
        {"Main", 2, 210.0f, 70.0f, 0.0f},
        {"Background", 3, 143.33333f, 53.333333f, 1.0f},
        {"Far Background", 4, 110.0f, 45.0f, 2.0f},
    };
    const std::uint32_t player = AddObject("Player", 400.0f, 100.0f);
    FollowPlayer(player);
    std::vector<std::uint32_t> layers;
    for (const Case& c : cases)
        layers.push_back(AddLayer(c.level, 10.0f, 20.0f));
    Get<Engine::Transform>(layers[0])->x_sca = 3.0f;

    Step<Engine::ParallaxSystem>();

    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        const Engine::Transform* transform = Get<Engine::Transform>(layers[i]);
        EXPECT_FLOAT_EQ(transform->x_pos, cases[i].x);
        EXPECT_FLOAT_EQ(transform->y_pos, cases[i].y);
        EXPECT_EQ(transform->z_pos, cases[i].z);
    }
    EXPECT_EQ(Get<Engine::Transform>(layers[0])->x_sca, 3.0f) << "scale is not touched";
}

TEST(ParallaxSystem, LeavesLayersAloneWithoutAPlayerAndSkipsLayerZero)
{
    const std::uint32_t layer = AddLayer(3, 10.0f, 20.0f);
    const std::uint32_t zero = AddLayer(0, 10.0f, 20.0f);
    const std::uint32_t bare = Engine::GameObjectTable::Instance().CreateGameObject("No Transform");
    Add<Engine::Parallax>(bare).Level = 2;

    for (const std::int32_t followed : {16384, -1, static_cast<std::int32_t>(bare)}) {
        SCOPED_TRACE(followed);
        Engine::Camera::Instance()->followedObjectId = followed;
        Step<Engine::ParallaxSystem>();
        EXPECT_EQ(Get<Engine::Transform>(layer)->x_pos, -999.0f);
    }

    const std::uint32_t player = AddObject("Player", 400.0f, 100.0f);
    FollowPlayer(player);
    Step<Engine::ParallaxSystem>();
    EXPECT_FLOAT_EQ(Get<Engine::Transform>(layer)->x_pos, 143.33333f);
    const Engine::Transform* stuck = Get<Engine::Transform>(zero);
    EXPECT_EQ(stuck->x_pos, -999.0f);
    EXPECT_EQ(stuck->y_pos, -999.0f);
    EXPECT_EQ(stuck->z_pos, 42.0f);
    EXPECT_EQ(Get<Engine::Transform>(bare), nullptr);
}

#include "GameplayScene.h"

#include "core/HeatMap.h"
#include "gameplay/HeatMapTrail.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

namespace {
std::uint32_t MakePlayer(float x, float y)
{
    const std::uint32_t player = AddObject("Player", x, y);
    Engine::Transform* transform = Get<Engine::Transform>(player);
    transform->x_sca = 64.0f;
    transform->y_sca = 96.0f;
    transform->z_pos = 3.0f;
    transform->rot = 1.0f;
    Engine::Sprite& sprite = Add<Engine::Sprite>(player);
    sprite.Texture = "Player.png";
    const float color[4] = {0.1f, 0.2f, 0.3f, 0.9f};
    std::copy(std::begin(color), std::end(color), sprite.Color);
    FollowPlayer(player);
    return player;
}
}  // namespace

TEST(HeatMap, SpawnDropsAHiddenMarkerAndRaisesTheNextDropOnTheSamePlayer)
{
    AddObject("Ground", 0.0f, 0.0f);
    const std::uint32_t player = MakePlayer(120.0f, -40.0f);
    Listen(player, {"Spawn HeatMap"});
    AdvanceTimers(0);
    ClearQueue();

    Engine::SpawnHeatMap();

    const std::vector<std::uint32_t> markers = ObjectsNamed("HeatMapObj");
    ASSERT_EQ(markers.size(), 1u);
    const Engine::Transform* transform = Get<Engine::Transform>(markers[0]);
    ASSERT_NE(transform, nullptr);
    EXPECT_EQ(transform->x_pos, 120.0f);
    EXPECT_EQ(transform->y_pos, -40.0f);
    EXPECT_EQ(transform->x_sca, 64.0f);
    EXPECT_EQ(transform->y_sca, 96.0f);
    EXPECT_EQ(transform->z_pos, 0.0f);
    EXPECT_EQ(transform->rot, 0.0f);
    EXPECT_NE(Get<Engine::HeatMap>(markers[0]), nullptr);
    EXPECT_EQ(Get<Engine::Sprite>(markers[0]), nullptr) << "not drawn until shown";

    // The camera moving on to another object does not redirect the pending drop.
    FollowPlayer(markers[0]);
    AdvanceTimers(50);
    EXPECT_TRUE(QueuedCalls().empty());
    AdvanceTimers(100);
    EXPECT_EQ(QueuedCalls(), (std::vector<Call>{{"Spawn HeatMap", player}}));
}

TEST(HeatMap, ShowGivesEveryMarkerAFreshSpriteInThePlayersColour)
{
    const std::uint32_t player = MakePlayer(0.0f, 0.0f);
    Engine::ShowHeatMap();  // no markers yet: nothing changes
    EXPECT_TRUE(ObjectsNamed("HeatMapObj").empty());

    for (float x : {10.0f, 20.0f, 30.0f}) {
        Get<Engine::Transform>(player)->x_pos = x;
        Engine::SpawnHeatMap();
    }
    const std::uint32_t bystander = AddObject("Tree", 0.0f, 0.0f);
    Engine::ShowHeatMap();

    const std::vector<std::uint32_t> markers = ObjectsNamed("HeatMapObj");
    ASSERT_EQ(markers.size(), 3u);
    for (std::uint32_t marker : markers) {
        const Engine::Sprite* sprite = Get<Engine::Sprite>(marker);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->MeshIndex, 2);
        EXPECT_EQ(sprite->Texture, "Player.png");
        EXPECT_FLOAT_EQ(sprite->Color[0], 0.1f);
        EXPECT_FLOAT_EQ(sprite->Color[3], 0.9f);
    }
    EXPECT_EQ(Get<Engine::Sprite>(bystander), nullptr);

    // A later show repaints in the player's colour of that moment; new drops stay hidden till then.
    Get<Engine::Sprite>(markers[0])->MeshIndex = 0;
    Get<Engine::Sprite>(player)->Color[0] = 1.0f;
    Get<Engine::Sprite>(player)->Texture = "PlayerRed.png";
    Engine::SpawnHeatMap();
    const std::uint32_t late = ObjectsNamed("HeatMapObj").back();
    EXPECT_EQ(Get<Engine::Sprite>(late), nullptr);
    Engine::ShowHeatMap();
    for (std::uint32_t marker : ObjectsNamed("HeatMapObj")) {
        const Engine::Sprite* sprite = Get<Engine::Sprite>(marker);
        ASSERT_NE(sprite, nullptr);
        EXPECT_EQ(sprite->MeshIndex, 2);
        EXPECT_EQ(sprite->Texture, "PlayerRed.png");
        EXPECT_EQ(sprite->Color[0], 1.0f);
    }
}

TEST(HeatMap, DoNothingWithoutAPlayerTransformOrSprite)
{
    const std::uint32_t marker = Engine::GameObjectTable::Instance().CreateGameObject("HeatMapObj");
    Add<Engine::HeatMap>(marker);
    for (const std::int32_t followed : {16384, -1, 5000}) {
        Engine::Camera::Instance()->followedObjectId = followed;
        Engine::SpawnHeatMap();
        Engine::ShowHeatMap();
    }
    EXPECT_EQ(ObjectsNamed("HeatMapObj").size(), 1u);
    EXPECT_EQ(Get<Engine::Sprite>(marker), nullptr);

    // A player that itself carries a HeatMap keeps its own colour while showing the others.
    const std::uint32_t player = MakePlayer(0.0f, 0.0f);
    Add<Engine::HeatMap>(player);
    Engine::ShowHeatMap();
    EXPECT_EQ(Get<Engine::Sprite>(player)->Texture, "Player.png");
    EXPECT_EQ(Get<Engine::Sprite>(marker)->Texture, "Player.png");
}

// The game's own scripts in Resources/Scripts: every one loads and has a main, and together
// with the gameplay systems they make the player run, jump, dash, kick and die in kill zones.
#include "GameWorld.h"

#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using Engine::ComponentStore;
using Engine::GameObjectTable;
using ScriptTest::GameWorld;
using testing::IsEmpty;

namespace {

template <typename T>
T* Get(std::uint32_t id)
{
    return ComponentStore::Instance().GetComponent<T>(id);
}

// An object with a Transform and a box of the given half size around it.
std::uint32_t Box(const std::string& name, float x, float y, float halfWidth, float halfHeight, std::int32_t bodyType)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(name);
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(id);
    Get<Engine::Transform>(id)->x_pos = x;
    Get<Engine::Transform>(id)->y_pos = y;
    store.AddComponent<Engine::RigidBody>(id);
    Engine::RigidBody& body = *Get<Engine::RigidBody>(id);
    body.left = -halfWidth;
    body.right = halfWidth;
    body.bottom = -halfHeight;
    body.top = halfHeight;
    body.BodyType = bodyType;
    return id;
}

// The game as its start-up leaves it, on a long floor: a followed player who lands through
// "IsGrounded", with gravity and friction every frame.
struct PlayerOnAFloor {
    PlayerOnAFloor() : world({}, {.sound = true, .shippedScripts = true})
    {
        player = Box("Player", 0.0f, 60.0f, 25.0f, 25.0f, 1);
        ComponentStore& store = ComponentStore::Instance();
        store.AddComponent<Engine::Controller>(player);
        store.AddComponent<Engine::Sprite>(player);
        store.AddComponent<Engine::Checkpoint>(player);
        Get<Engine::Checkpoint>(player)->x = -500.0f;
        Get<Engine::Checkpoint>(player)->y = 100.0f;
        Engine::GetSystem<Engine::EventManager>()->AddEvent(player, "Bottom Collision", "IsGrounded");
        Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
        floor = Box("Floor", 0.0f, 0.0f, 5000.0f, 25.0f, 0);
        world.scripts.RegisterEveryFrame("ApplyGravity");
        world.scripts.RegisterEveryFrame("ApplyFriction");
        world.RunFrames(30);  // settle on the floor
    }

    Engine::Controller& controller() const { return *Get<Engine::Controller>(player); }
    Engine::Transform& transform() const { return *Get<Engine::Transform>(player); }

    void Press(std::uint8_t key, int frames)
    {
        Engine::InputManager::Instance().KeyPressed(key);
        world.RunFrames(frames);
    }
    void Release(std::uint8_t key, int frames)
    {
        Engine::InputManager::Instance().KeyReleased(key);
        world.RunFrames(frames);
    }

    GameWorld world;
    std::uint32_t player = 0;
    std::uint32_t floor = 0;
};

}  // namespace

TEST(ShippedScripts, EveryScriptLoadsAndHasAMain)
{
    GameWorld world({}, {.sound = true, .shippedScripts = true});
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources/Scripts"))
        files.insert(entry.path().stem().string());
    ASSERT_FALSE(files.empty());
    for (const std::string& handle : files) {
        SCOPED_TRACE(handle);
        EXPECT_TRUE(world.scripts.scripts.contains(handle));
        // Without a player or any object every script must find nothing to do, quietly.
        world.Run(handle, 0);
    }
    for (const ScriptTest::LogLine& line : world.folder.Lines())
        EXPECT_LT(line.level, spdlog::level::warn) << line.text;
}

TEST(ShippedScripts, PlayerStandsRunsAndStopsOnTheFloor)
{
    PlayerOnAFloor game;
    EXPECT_TRUE(game.controller().isGrounded);
    EXPECT_NEAR(game.transform().y_pos, 50.0f, 1.0f);

    game.Press('D', 40);
    EXPECT_EQ(game.controller().x_vel, game.controller().maxvelx);
    EXPECT_TRUE(game.controller().facingRt);
    const float ranTo = game.transform().x_pos;
    EXPECT_GT(ranTo, 200.0f);

    game.Release('D', 40);
    EXPECT_EQ(game.controller().x_vel, 0.0f);
    game.Press(0x25, 40);  // Left
    EXPECT_EQ(game.controller().x_vel, -game.controller().maxvelx);
    EXPECT_FALSE(game.controller().facingRt);
    EXPECT_LT(game.transform().x_pos, ranTo);
    EXPECT_NEAR(game.transform().y_pos, 50.0f, 1.0f);
}

TEST(ShippedScripts, PlayerJumpsOnlyFromTheGroundAndLandsAgain)
{
    PlayerOnAFloor game;
    game.Press('J', 1);
    EXPECT_FALSE(game.controller().isGrounded);
    EXPECT_GT(game.controller().y_vel, 0.0f);
    game.world.RunFrames(10);
    const float height = game.transform().y_pos;
    EXPECT_GT(height, 100.0f);

    // Letting go halves the rise (after this frame's gravity); a second press in the air does nothing.
    const float rising = game.controller().y_vel;
    game.Release('J', 0);
    game.Press('J', 1);
    EXPECT_FLOAT_EQ(game.controller().y_vel, (rising + game.controller().y_acc) * 0.5f);
    game.Release('J', 120);
    EXPECT_TRUE(game.controller().isGrounded);
    EXPECT_NEAR(game.transform().y_pos, 50.0f, 1.0f);
}

TEST(ShippedScripts, AirDashAndWaterKickOnceUntilTheNextLanding)
{
    PlayerOnAFloor game;
    game.Press(' ', 5);
    game.Release(' ', 0);
    game.Press('K', 1);
    EXPECT_TRUE(game.controller().airSkillActive);
    EXPECT_TRUE(game.controller().airSkillSpent);
    EXPECT_EQ(game.controller().x_vel, 2.5f * game.controller().maxvelx);
    EXPECT_EQ(game.controller().y_vel, 0.0f);
    const float dashStart = game.transform().y_pos;
    game.world.RunFrames(5);
    EXPECT_NEAR(game.transform().y_pos, dashStart, 0.1f);  // level while dashing

    game.world.RunFrames(10);  // the dash ends after 0.2 s
    EXPECT_FALSE(game.controller().airSkillActive);
    game.Release('K', 0);
    game.Press('K', 1);
    EXPECT_FALSE(game.controller().airSkillActive);  // spent until the landing

    game.Press('L', 1);
    EXPECT_TRUE(game.controller().waterSkillSpent);
    EXPECT_GT(game.controller().y_vel, 0.0f);
    game.Release('L', 0);
    game.Press('L', 1);
    EXPECT_LT(game.controller().y_vel, game.controller().jumpvel);

    game.Release('L', 180);
    EXPECT_TRUE(game.controller().isGrounded);
    EXPECT_FALSE(game.controller().airSkillSpent);
    EXPECT_FALSE(game.controller().waterSkillSpent);
}

TEST(ShippedScripts, KillZoneKillsThePlayerInsideItAndSendsItToTheCheckpoint)
{
    PlayerOnAFloor game;
    const std::uint32_t zone = Box("KillZone", 2000.0f, 50.0f, 100.0f, 20.0f, 0);
    Get<Engine::RigidBody>(zone)->Ghost = true;
    Engine::GetSystem<Engine::EventManager>()->AddEvent(zone, "OnCollision", "KillZone");

    // A kill zone that something else touched leaves the player alone.
    game.world.Run("KillZone", zone);
    EXPECT_FALSE(game.controller().isDead);

    game.transform().x_pos = 1950.0f;
    game.world.RunFrames(1);
    EXPECT_TRUE(game.controller().isDead);
    EXPECT_EQ(game.transform().x_pos, -500.0f);
    EXPECT_EQ(game.transform().y_pos, 100.0f);
    const auto& emitters = Engine::GetSystem<Engine::ParticleSystem>()->emitters;
    ASSERT_FALSE(emitters.empty());
    EXPECT_EQ(emitters.back().rate, 1000.0f);  // the death burst

    // In god mode the zone does nothing.
    game.controller().isDead = false;
    game.controller().godMode = true;
    game.transform().x_pos = 1950.0f;
    game.transform().y_pos = 50.0f;
    game.world.RunFrames(1);
    EXPECT_FALSE(game.controller().isDead);
}

TEST(ShippedScripts, BulletGoesWhenItTouchesThePlayerOnly)
{
    PlayerOnAFloor game;
    const std::uint32_t away = Box("bullet", 900.0f, 300.0f, 10.0f, 10.0f, 0);
    const std::uint32_t hit = Box("bullet", game.transform().x_pos, game.transform().y_pos, 10.0f, 10.0f, 0);
    for (std::uint32_t bullet : {away, hit, hit})  // each contact queues the script twice
        game.world.scripts.Queue("DestroyBullet", bullet);
    game.world.scripts.Update();
    EXPECT_NE(GameObjectTable::Instance().Get(away), nullptr);
    EXPECT_EQ(GameObjectTable::Instance().Get(hit), nullptr);
}

TEST(ShippedScripts, HoldingUpTurnsTheDashDiagonalAndItEndsRisingGently)
{
    PlayerOnAFloor game;
    game.Press('W', 8);  // jump and keep holding
    game.Press('K', 1);
    const float speed = 2.5f * game.controller().maxvelx * 0.7071f;
    EXPECT_NEAR(game.controller().x_vel, speed, 0.5f);
    EXPECT_NEAR(game.controller().y_vel, speed, 0.5f);  // no gravity while it lasts
    const float start = game.transform().y_pos;
    game.world.RunFrames(5);
    EXPECT_GT(game.transform().y_pos, start + 50.0f);
    game.world.RunFrames(10);
    EXPECT_FALSE(game.controller().airSkillActive);
    EXPECT_LE(game.controller().y_vel, 400.0f);
    EXPECT_GT(game.controller().x_vel, 0.0f);
    EXPECT_LE(game.controller().x_vel, game.controller().maxvelx);
}

// The pick-ups of the levels, each a ghost box with its handler on "OnCollision": touched
// by the player they act, touched by nothing they leave the game as it is.
TEST(ShippedScripts, FlagsOrbsEnemiesAndTheGateActOnlyWhenThePlayerTouchesThem)
{
    PlayerOnAFloor game;
    auto* events = Engine::GetSystem<Engine::EventManager>();
    const auto pickUp = [&](const char* name, float x, float halfSize, const char* handler, bool ghost = true) {
        const std::uint32_t id = Box(name, x, 60.0f, halfSize, halfSize, ghost ? 0 : 2);
        Get<Engine::RigidBody>(id)->Ghost = ghost;
        ComponentStore::Instance().AddComponent<Engine::Sprite>(id);
        events->AddEvent(id, "OnCollision", handler);
        game.world.Run(handler, id);  // far from the player: nothing happens
        return id;
    };
    // From the left, so that an edge of the box lies inside the player's: a box that holds
    // the other whole is no contact.
    const auto touch = [&](std::uint32_t id) {
        game.transform().x_pos = Get<Engine::Transform>(id)->x_pos + Get<Engine::RigidBody>(id)->left - 10.0f;
        game.transform().y_pos = 60.0f;
        game.world.RunFrames(1);
    };

    const std::uint32_t flag = pickUp("CheckPoint", 1000.0f, 30.0f, "CheckPoint");
    EXPECT_EQ(Get<Engine::Checkpoint>(game.player)->x, -500.0f);
    touch(flag);
    EXPECT_EQ(Get<Engine::Checkpoint>(game.player)->x, 1000.0f);
    EXPECT_EQ(Get<Engine::Checkpoint>(game.player)->y, 70.0f);
    EXPECT_EQ(Get<Engine::Sprite>(flag)->Texture, "CheckpointOn.png");

    const std::uint32_t orb = pickUp("DashOrb", 2000.0f, 30.0f, "DashReset");
    game.controller().airSkillSpent = true;
    touch(orb);
    EXPECT_FALSE(game.controller().airSkillSpent);
    EXPECT_GT(Get<Engine::Transform>(orb)->x_pos, 50000.0f);  // gone for a while
    game.world.RunFrames(130);
    EXPECT_EQ(Get<Engine::Transform>(orb)->x_pos, 2000.0f);

    const std::uint32_t enemy = pickUp("Enemy", 3000.0f, 40.0f, "EnemyHit", false);
    touch(enemy);
    EXPECT_NE(GameObjectTable::Instance().Get(enemy), nullptr);  // walking into it does nothing
    game.transform().x_pos = 2950.0f;
    game.controller().airSkillActive = true;  // dashing into it knocks it out
    game.world.Run("EnemyHit", enemy);
    EXPECT_EQ(GameObjectTable::Instance().Get(enemy), nullptr);
    game.controller().airSkillActive = false;

    // The gate shows the heat map the player left and stops listening; ChangeLevel needs
    // the running game, which this world has not.
    game.world.Run("RecordHeatMap", game.player);
    const std::uint32_t point = GameObjectTable::Instance().FindGameObject("HeatMapObj");
    ASSERT_NE(point, Engine::InvalidObjectId);
    const std::uint32_t gate = pickUp("Goal", 4000.0f, 60.0f, "LevelGoal");
    touch(gate);
    const std::vector<std::string>& handlers = Get<Engine::EventSet>(gate)->events["OnCollision"];
    EXPECT_EQ(std::count(handlers.begin(), handlers.end(), "LevelGoal"), 0);
    ASSERT_NE(Get<Engine::Sprite>(point), nullptr);
    EXPECT_EQ(Get<Engine::Sprite>(point)->Texture, "HeatDot.png");
    EXPECT_TRUE(game.world.LoggedContaining(spdlog::level::err, "ChangeLevel"));
}

TEST(ShippedScripts, HeatMapRecordsWhileThePlayerMovesAndThePoseFollowsIt)
{
    PlayerOnAFloor game;
    const auto points = [] {
        int count = 0;
        for (std::uint32_t id = 0; id <= GameObjectTable::Instance().highestUsed; ++id)
            count += GameObjectTable::Instance().Get(id) != nullptr && GameObjectTable::Instance().Get(id)->name == "HeatMapObj";
        return count;
    };
    Engine::GetSystem<Engine::EventManager>()->AddEvent(game.player, "Spawn HeatMap", "RecordHeatMap");
    game.world.Run("RecordHeatMap", game.player);  // as a level load raises it
    EXPECT_EQ(points(), 1);
    // A second chain in the same frame (the last level's, say) ends there.
    game.transform().x_pos += 50.0f;
    game.world.Run("RecordHeatMap", game.player);
    EXPECT_EQ(points(), 1);
    game.transform().x_pos -= 50.0f;
    game.world.RunFrames(60);  // standing still: the chain rests after its second look
    EXPECT_EQ(points(), 1);
    EXPECT_THAT(Get<Engine::Sprite>(game.player)->Texture, testing::StartsWith("PlayerIdle"));

    game.Press('A', 60);  // running: a point about every 100 ms again
    EXPECT_GE(points(), 7);
    EXPECT_THAT(Get<Engine::Sprite>(game.player)->Texture, testing::MatchesRegex("PlayerRun[0-3]L\\.png"));
    game.Release('A', 1);
    game.Press('J', 3);
    EXPECT_EQ(Get<Engine::Sprite>(game.player)->Texture, "PlayerJumpL.png");
}

TEST(ShippedScripts, BulletKnocksThePlayerBackTheWayItFlew)
{
    PlayerOnAFloor game;
    const std::uint32_t bullet = Box("bullet", game.transform().x_pos, game.transform().y_pos, 10.0f, 10.0f, 0);
    ComponentStore::Instance().AddComponent<Engine::Controller>(bullet);
    Get<Engine::Controller>(bullet)->x_vel = -300.0f;
    game.world.Run("DestroyBullet", bullet);
    EXPECT_EQ(game.controller().x_vel, -350.0f);
    EXPECT_EQ(GameObjectTable::Instance().Get(bullet), nullptr);
}

// RespawnEnemies from a script: enemies of the current level's file come back as the file
// describes them, others with a Range go, outside a level nothing changes, and a malformed
// file keeps what was made before the fault.
#include "GameWorld.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "game/GameState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using Engine::ComponentStore;
using Engine::GameObjectTable;
using ScriptTest::GameWorld;
using spdlog::level::debug;
using spdlog::level::err;
using testing::ElementsAre;

namespace {

std::string LevelFixture(const std::string& name)
{
    return (std::filesystem::path(VANTREL_TEST_DIR) / "scripting" / "fixtures" / "levels" / name).string();
}

// "Level 2" (game state 4) is the only level the list knows.
void ListLevelTwo(const std::string& fixture)
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.levelNames = {"Level 2"};
    levels.levelPaths = {LevelFixture(fixture)};
    GameStateIndex = 4;
}

template <typename T>
T* Get(std::uint32_t id)
{
    return ComponentStore::Instance().GetComponent<T>(id);
}

// A world of a player, an enemy placed by hand (not in any file) and a floor.
struct HandMadeWorld {
    HandMadeWorld()
    {
        GameObjectTable& table = GameObjectTable::Instance();
        player = table.CreateGameObject("Player");
        placedEnemy = table.CreateGameObject("Placed Enemy");
        ComponentStore::Instance().AddComponent<Engine::Range>(placedEnemy);
        floor = table.CreateGameObject("Floor");
    }
    std::uint32_t player, placedEnemy, floor;
};

// Names of the live objects by id ("" for a free slot), up to the highest id used.
std::vector<std::string> Names()
{
    GameObjectTable& table = GameObjectTable::Instance();
    std::vector<std::string> names;
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id)
        names.push_back(table.Get(id) != nullptr ? table.Get(id)->name : "");
    return names;
}

std::vector<bool> HasRange()
{
    std::vector<bool> ranges;
    for (std::uint32_t id = 0; id <= GameObjectTable::Instance().highestUsed; ++id)
        ranges.push_back(Get<Engine::Range>(id) != nullptr);
    return ranges;
}

}  // namespace

TEST(EnemyRespawn, EnemiesOfTheLevelFileComeBackAndOthersWithARangeGo)
{
    GameWorld world({"interface"});
    ListLevelTwo("Enemies.json");
    const HandMadeWorld made;

    world.Run("Respawn");
    EXPECT_TRUE(world.folder.Logged(debug, "Attempting to load eneimies from level: Level 2"));
    // The hand-placed enemy's slot is the lowest free one; the others follow in key order.
    EXPECT_THAT(Names(), ElementsAre("Player", "Enemy", "Floor", "Enemy", "Enemy"));
    EXPECT_THAT(HasRange(), ElementsAre(false, true, false, false, true));

    const std::uint32_t enemy = made.placedEnemy;
    const Engine::Transform& transform = *Get<Engine::Transform>(enemy);
    EXPECT_EQ(transform.x_pos, 2600.0f);
    EXPECT_EQ(transform.y_pos, 200.0f);
    EXPECT_EQ(transform.z_pos, 1.0f);
    EXPECT_EQ(transform.x_sca, 60.0f);
    EXPECT_EQ(transform.y_sca, 70.0f);
    EXPECT_EQ(transform.rot, 0.5f);
    const Engine::Sprite& sprite = *Get<Engine::Sprite>(enemy);
    EXPECT_THAT(sprite.Color, ElementsAre(0.5f, 0.25f, 0.125f, 1.0f));
    EXPECT_EQ(sprite.MeshIndex, 2);
    EXPECT_EQ(sprite.Texture, "Enemy.png");
    const Engine::RigidBody& body = *Get<Engine::RigidBody>(enemy);
    EXPECT_EQ(body.left, -30.0f);
    EXPECT_EQ(body.top, 30.0f);
    EXPECT_EQ(body.right, 30.0f);
    EXPECT_EQ(body.bottom, -30.0f);
    EXPECT_EQ(body.Weight, 1.5f);
    EXPECT_EQ(body.BodyType, 2);
    EXPECT_EQ(body.ColliderType, 0);
    EXPECT_FALSE(body.Ghost);
    const auto& events = Get<Engine::EventSet>(enemy)->events;
    EXPECT_THAT(events.at("InRange"), ElementsAre("Shoot"));
    EXPECT_THAT(events.at("OnCollision"), ElementsAre("Hit", "Hit"));
    const Engine::Range& range = *Get<Engine::Range>(enemy);
    EXPECT_EQ(range.range, 800.0f);
    EXPECT_EQ(range.speed, 600.0f);
    EXPECT_EQ(range.fireInterval, 2000);
    EXPECT_EQ(Get<Engine::Controller>(enemy), nullptr);  // not read for enemies

    // The enemy without a Range is not removed by the next respawn, so it exists twice.
    world.Run("Respawn");
    EXPECT_THAT(Names(), ElementsAre("Player", "Enemy", "Floor", "Enemy", "Enemy", "Enemy"));
    EXPECT_THAT(HasRange(), ElementsAre(false, true, false, false, false, true));
    EXPECT_EQ(Get<Engine::Transform>(3)->x_pos, 10.0f);
    EXPECT_EQ(Get<Engine::Transform>(4)->x_pos, 10.0f);
    GameStateIndex = 0;
}

TEST(EnemyRespawn, OutsideALevelOrForAnUnlistedLevelNothingChanges)
{
    GameWorld world({"interface"});
    ListLevelTwo("Enemies.json");
    const HandMadeWorld made;
    struct Case {
        std::int32_t state;
        const char* name;
    };
    const std::vector<Case> cases = {{0, ""}, {1, ""}, {2, ""}, {7, ""}, {8, ""}, {-1, ""}, {5, "Level 3"}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.state);
        GameStateIndex = test.state;
        const int errors = world.folder.Count(err, "Could not find the loaded level's Json file in Resources Levels");
        world.Run("Respawn");
        EXPECT_TRUE(world.folder.Logged(debug, std::string("Attempting to load eneimies from level: ") + test.name));
        EXPECT_EQ(world.folder.Count(err, "Could not find the loaded level's Json file in Resources Levels"),
                  errors + 1);
        EXPECT_THAT(Names(), ElementsAre("Player", "Placed Enemy", "Floor"));
    }
    GameStateIndex = 0;
}

TEST(EnemyRespawn, MalformedFileStopsAtTheFaultAndKeepsTheEnemiesMadeBefore)
{
    struct Case {
        const char* fixture;
        std::vector<std::string> names;  // the objects afterwards, by id
        std::vector<bool> ranges;
        std::optional<float> thirdX;  // x_pos of the Transform of id 3, when it has one
    };
    const std::vector<Case> cases = {
        // Not JSON or not an object: nothing is removed.
        {"NotJson.json", {"Player", "Placed Enemy", "Floor"}, {false, true, false}, std::nullopt},
        {"TopLevelArray.json", {"Player", "Placed Enemy", "Floor"}, {false, true, false}, std::nullopt},
        // "Enemy 2" lacks PosZ: it was made and stays, with its Transform but no Range; "Enemy 3" never comes.
        {"BrokenEnemy.json", {"Player", "Enemy", "Floor", "Enemy"}, {false, true, false, false}, 5.0f},
        {"UnwrappedRange.json", {"Player", "Enemy", "Floor"}, {false, true, false}, std::nullopt},
    };
    GameWorld world({"interface"});
    const HandMadeWorld made;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.fixture);
        ListLevelTwo(test.fixture);
        for (std::uint32_t id = 0; id <= GameObjectTable::Instance().highestUsed; ++id)
            GameObjectTable::Instance().RemoveGameObject(id);
        const HandMadeWorld again;

        world.Run("Respawn");
        EXPECT_TRUE(world.LoggedContaining(err, LevelFixture(test.fixture)));
        // Slots above the last live object are free after the earlier cases.
        std::vector<std::string> names = Names();
        while (!names.empty() && names.back().empty())
            names.pop_back();
        EXPECT_EQ(names, test.names);
        std::vector<bool> ranges = HasRange();
        ranges.resize(names.size());
        EXPECT_EQ(ranges, test.ranges);
        const Engine::Transform* third = Get<Engine::Transform>(3);
        EXPECT_EQ(third != nullptr ? std::optional<float>(third->x_pos) : std::nullopt, test.thirdX);
    }
    GameStateIndex = 0;
}

TEST(EnemyRespawn, ShippedLevelsGiveTheirEnemiesBackUnchanged)
{
    GameWorld world({"interface"}, {.sound = true, .shippedScripts = true, .levels = true});  // the levels name shipped handlers
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    const std::vector<std::pair<std::int32_t, const char*>> shipped = {
        {3, "Level 1"}, {4, "Level 2"}, {5, "Level 3"}, {6, "Level 4"}};
    for (const auto& [state, name] : shipped) {
        SCOPED_TRACE(name);
        levels.LoadLevel(name);
        GameStateIndex = state;
        world.Run("IsGrounded", Engine::InvalidObjectId);  // first the calls the load queued (the heat map's)
        const std::vector<std::string> names = Names();
        const std::vector<bool> ranges = HasRange();
        ASSERT_NE(std::find(ranges.begin(), ranges.end(), true), ranges.end());

        world.Run("Respawn");
        EXPECT_EQ(Names(), names);
        EXPECT_EQ(HasRange(), ranges);
    }
    for (const ScriptTest::LogLine& line : world.folder.Lines())
        EXPECT_LT(line.level, err) << line.text;
    GameStateIndex = 0;
}

// The data the game ships under Resources/: every listed level, the archetypes and the
// animation data read without a single error line, and the levels hold what the game looks up.
#include "DataTestSupport.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/RigidBody.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "gameplay/AnimationUpdate.h"

#include <gtest/gtest.h>

using namespace Engine;

TEST(ShippedData, EveryFileReadsCleanlyAndHoldsWhatTheGameLooksUp)
{
    InitializeLogging();
    LevelManager& levels = LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadArchetypes();
    levels.LoadAnimationData();
    const std::size_t errorsAtStart = DataTest::ErrorLines().size();

    for (const std::string name :
         {"Splash Screen", "Main Menu", "Credits", "Level 1", "Level 2", "Level 3", "Level 4", "Scoreboard", "Scores"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(levels.FindLevelIndex(name).has_value());
        levels.LoadLevel(name);
        EXPECT_EQ(levels.currentLevel, name);
        EXPECT_FALSE(DataTest::ObjectNames().empty());
    }
    EXPECT_EQ(DataTest::ErrorLines().size(), errorsAtStart);
    EXPECT_FALSE(levels.archetypes.empty());
    EXPECT_FALSE(GetSystem<AnimationUpdate>()->animations.empty());

    const std::vector<std::pair<std::string, std::vector<std::string>>> lookedUp = {
        {"Splash Screen", {"Splash"}},
        {"Main Menu", {"StartButton", "LeaderboardButton", "HowToPlayButton", "OptionsButton", "CreditsButton", "ExitButton"}},
        {"Credits", {"Player"}},
        {"Scores", {"LevelComplete"}},
    };
    for (const auto& [level, objects] : lookedUp) {
        levels.LoadLevel(level);
        for (const std::string& object : objects)
            EXPECT_NE(GameObjectTable::Instance().FindGameObject(object), InvalidObjectId) << level << ": " << object;
    }

    levels.LoadLevel("Level 1");
    const std::uint32_t player = DataTest::IdOf("Player");
    EXPECT_EQ(player, 0u);  // stored under "APlayer", so created first
    ComponentStore& store = ComponentStore::Instance();
    EXPECT_NE(store.GetComponent<Transform>(player), nullptr);
    EXPECT_NE(store.GetComponent<Controller>(player), nullptr);
    ASSERT_NE(store.GetComponent<RigidBody>(player), nullptr);
    EXPECT_EQ(store.GetComponent<RigidBody>(player)->BodyType, 1);
}

// The whole game as a player meets it, started headless through its own frame loop: the
// splash, the main menu, each of the four levels played to its gate from a recording ("Level
// 1" with one death in lava and the return to the flag touched before it), each level's score
// entry and leaderboard, and the credits after the last. Two commands use the same drive:
// scripts/record-level-run writes the recordings again after a level changes, scripts/screenshots
// writes a picture of each screen. And the player against the levels' steps and walls.
#include "GameDriver.h"
#include "LevelAutopilot.h"

#include "TestSupport.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "data/LevelOrder.h"
#include "game/GameState.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace {

using EndToEnd::GameDriver;
using EndToEnd::KeyEvent;

constexpr int MostFramesInLevel = 60 * 180;

// How the autopilot plays each level, and where its recording is kept.
struct LevelPlan {
    int number;
    float dieAfterX;  // Level 1 only: past the first flag, the next pit is taken feet first
    std::vector<EndToEnd::PilotJump> jumps;  // the climbs no wall or pit ahead shows

    std::filesystem::path Recording() const
    {
        return std::filesystem::path(VANTREL_TEST_DIR) / "game/fixtures" / ("Level" + std::to_string(number) + "Run.keys");
    }
    std::string Title() const
    {
        return "Level " + std::to_string(number) + " played from its start to the gate" +
               (number == 1 ? ", with one death in lava" : "");
    }
};

const std::vector<LevelPlan>& Plans()
{
    static const std::vector<LevelPlan> plans = {
        {1, 5600.0f, {}},
        {2, std::numeric_limits<float>::max(), {}},
        // Up the platforms to the cliff beyond them.
        {3, std::numeric_limits<float>::max(), {{8900.0f, 700.0f, 200.0f}, {9660.0f, 280.0f, 400.0f},
                                                 {10160.0f, 280.0f, 600.0f}, {10660.0f, 280.0f, 600.0f}}},
        {4, std::numeric_limits<float>::max(), {{6700.0f, 500.0f, 200.0f}, {7160.0f, 280.0f, 500.0f},
                                                 {7660.0f, 280.0f, 700.0f}}},
    };
    return plans;
}

template <typename T>
T* OfPlayer()
{
    return Engine::ComponentStore::Instance().GetComponent<T>(Engine::GameObjectTable::Instance().FindGameObject("Player"));
}

std::string Level() { return Engine::LevelManager::Instance().currentLevel; }

bool SplashShowsItsSecondImage()
{
    const std::uint32_t splash = Engine::GameObjectTable::Instance().FindGameObject("Splash");
    const Engine::Sprite* sprite = Engine::ComponentStore::Instance().GetComponent<Engine::Sprite>(splash);
    return sprite != nullptr && sprite->Texture == "QuillmereSplashScreen.png";
}

// Where scripts/screenshots wants the pictures; empty when no picture is wanted.
std::filesystem::path ShotFolder()
{
    const char* folder = std::getenv("VANTREL_SCREENSHOTS");
    return folder == nullptr ? std::filesystem::path() : std::filesystem::path(folder);
}

// What the run through Level 1 saw.
struct LevelRun {
    bool finished = false;
    int deaths = 0;
    std::optional<float> diedAtCheckpointX;  // where the player was sent back to
    std::optional<float> startX;
};

// From the splash through the main menu's Start into "Level 1"; `shot` sees each screen.
void ToFirstLevel(GameDriver& driver, const std::function<void(const std::string&)>& shot)
{
    ASSERT_EQ(GameStateIndex, 0);
    ASSERT_EQ(Level(), "Splash Screen");
    driver.Frames(2);
    shot("01-splash");
    ASSERT_TRUE(driver.FramesUntil(SplashShowsItsSecondImage, 400));
    driver.Frames(1);
    shot("02-title");
    driver.Tap(SDLK_RETURN);  // the second image goes at once
    ASSERT_EQ(GameStateIndex, 1);
    ASSERT_EQ(Level(), "Main Menu");
    driver.Frames(3);
    shot("03-main-menu");
    driver.Tap(SDLK_RETURN);  // Start is highlighted first
    ASSERT_EQ(GameStateIndex, 3);
    ASSERT_EQ(Level(), "Level 1");
}

// Plays the level, each frame first letting `keys` press what it will; watches the deaths.
LevelRun PlayLevel(GameDriver& driver, const std::function<void(std::int64_t)>& keys)
{
    LevelRun run;
    const std::int64_t start = driver.frame;
    run.startX = OfPlayer<Engine::Transform>()->x_pos;
    bool wasDead = false;
    run.finished = driver.FramesUntil(
        [&] {
            const Engine::Controller* controller = OfPlayer<Engine::Controller>();
            if (controller != nullptr && controller->isDead && !wasDead) {
                ++run.deaths;
                run.diedAtCheckpointX = OfPlayer<Engine::Checkpoint>()->x;
                EXPECT_EQ(OfPlayer<Engine::Transform>()->x_pos, *run.diedAtCheckpointX) << "sent back to the flag";
            }
            wasDead = controller != nullptr && controller->isDead;
            if (driver.game().levelCompleteShown)
                return true;
            keys(driver.frame - start);
            return false;
        },
        MostFramesInLevel);
    return run;
}

// Replays the recording from the level's first frame on.
LevelRun PlayRecording(GameDriver& driver, const std::vector<KeyEvent>& recording)
{
    std::size_t next = 0;
    return PlayLevel(driver, [&](std::int64_t frame) {
        for (; next < recording.size() && recording[next].frame <= frame; ++next) {
            if (recording[next].down)
                driver.Down(recording[next].key);
            else
                driver.Up(recording[next].key);
        }
    });
}

// After a level: Enter leaves the level-complete overview for the score entry, Enter there
// enters the score and shows the leaderboard, and Enter there goes on to the next level.
void OnPastTheLeaderboard(GameDriver& driver)
{
    driver.Tap(SDLK_RETURN);
    ASSERT_EQ(GameStateIndex, 7);
    EXPECT_EQ(Level(), "Scores");
    driver.Frames(5);
    driver.Tap(SDLK_RETURN);
    ASSERT_EQ(GameStateIndex, 8);
    EXPECT_EQ(Level(), "Scoreboard");
    driver.Frames(5);
    driver.Tap(SDLK_RETURN);
}

}  // namespace

// Every level can be finished as shipped: the recorded runs, with no debug key, one after
// the other as a player meets them.
TEST(EndToEnd, SplashMenuEveryLevelToItsGateScoreEntriesAndLeaderboards)
{
    GameDriver driver;
    const auto noShots = [](const std::string&) {};
    ToFirstLevel(driver, noShots);

    for (const LevelPlan& plan : Plans()) {
        SCOPED_TRACE("Level " + std::to_string(plan.number));
        const std::vector<KeyEvent> recording = EndToEnd::ReadRecording(plan.Recording());
        ASSERT_FALSE(recording.empty()) << plan.Recording() << " (scripts/record-level-run writes it)";
        ASSERT_EQ(GameStateIndex, plan.number + 2);
        ASSERT_EQ(Level(), "Level " + std::to_string(plan.number));

        const LevelRun run = PlayRecording(driver, recording);
        ASSERT_TRUE(run.finished) << "the recorded run did not reach the gate; re-record it after changing the level";
        if (plan.number == 1) {
            EXPECT_EQ(run.deaths, 1);
            ASSERT_TRUE(run.diedAtCheckpointX.has_value());
            EXPECT_GT(*run.diedAtCheckpointX, *run.startX) << "the flag touched before the lava, not the start";
        }
        OnPastTheLeaderboard(driver);
    }
    EXPECT_EQ(GameStateIndex, 2) << "after the last level, the credits";
    EXPECT_EQ(Level(), "Credits");
    driver.Frames(30);

    EXPECT_EQ(EndToEnd::ErrorLines(), std::vector<std::string>{});
    const std::string board = TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "Scoreboard.txt");
    EXPECT_NE(board.find("PLAYER "), std::string::npos) << board;
}

namespace {

struct Block {
    float left, right, bottom, top;
};

// The solid colliders of the level: not ghosts, not moving.
std::vector<Block> SolidBlocks()
{
    std::vector<Block> blocks;
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        const auto* body = Engine::ComponentStore::Instance().GetComponent<Engine::RigidBody>(id);
        const auto* at = Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id);
        if (body == nullptr || at == nullptr || body->Ghost || body->BodyType != 0)
            continue;
        blocks.push_back({at->x_pos + body->left, at->x_pos + body->right, at->y_pos + body->bottom,
                          at->y_pos + body->top});
    }
    return blocks;
}

Block PlayerBox()
{
    const auto* at = OfPlayer<Engine::Transform>();
    const auto* body = OfPlayer<Engine::RigidBody>();
    return {at->x_pos + body->left, at->x_pos + body->right, at->y_pos + body->bottom, at->y_pos + body->top};
}

// Where the player's feet are inside a block (more than a unit deep, under more than a unit
// of its width): empty when they stand on top of everything.
std::string FeetInsideABlock(const std::vector<Block>& blocks)
{
    const Block player = PlayerBox();
    for (const Block& block : blocks) {
        const bool under = player.left < block.right - 1.0f && block.left + 1.0f < player.right;
        if (under && block.bottom < player.bottom && player.bottom < block.top - 1.0f)
            return "feet at y " + std::to_string(player.bottom) + " inside the block x " + std::to_string(block.left) +
                   ".." + std::to_string(block.right) + ", y " + std::to_string(block.bottom) + ".." +
                   std::to_string(block.top);
    }
    return {};
}

}  // namespace

// Holding the run key against each kind of step and wall of the shipped levels: the player
// stands at the foot of it, never sinking into the ground, and can still jump (and kick off
// the water skill where one jump is too low) onto the top.
TEST(EndToEnd, RunningIntoStepsAndWallsNeverSinksThePlayerAndItJumpsOn)
{
    struct Case {
        const char* what;
        int level;  // 1 to 4
        float startX;  // on the ground, at y 0
        bool jumpAtOnce;  // the wall is met in the air
        int jumps;  // jumps to the top, each after pushing into the next wall
        bool kick;  // the water skill at the top of each jump
        float topX, topY;  // the player ends past x, standing at y
    };
    const std::vector<Case> cases = {
        {"one-block step", 1, 1700.0f, false, 1, false, 1900.0f, 100.0f},
        {"wall out of a dip", 1, 2800.0f, false, 1, false, 3100.0f, 100.0f},
        {"stairs", 1, 10100.0f, false, 3, false, 10900.0f, 300.0f},
        {"two-block wall", 3, 800.0f, false, 1, true, 1100.0f, 200.0f},
        {"wall met in the air", 3, 800.0f, true, 1, true, 1100.0f, 200.0f},
    };
    GameDriver driver;
    ToFirstLevel(driver, [](const std::string&) {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Engine::LevelInfo& level = Engine::LevelOrder()[static_cast<std::size_t>(c.level - 1)];
        Engine::LevelManager::Instance().LoadLevel(level.level);  // as the screens start a level
        GameStateIndex = level.state;
        driver.Frames(2);
        auto* at = OfPlayer<Engine::Transform>();
        auto* controller = OfPlayer<Engine::Controller>();
        const float standY = -OfPlayer<Engine::RigidBody>()->bottom + 0.1f;
        at->x_pos = controller->next_x_pos = c.startX;
        at->y_pos = controller->next_y_pos = standY;
        controller->x_vel = controller->y_vel = 0.0f;
        driver.Frames(10);
        ASSERT_TRUE(controller->isGrounded);
        const std::vector<Block> blocks = SolidBlocks();

        bool sank = false;
        float lowest = PlayerBox().bottom;
        const auto watch = [&](int frames) {
            for (int i = 0; i < frames && !sank; ++i) {
                driver.Frames(1);
                lowest = std::min(lowest, PlayerBox().bottom);
                const std::string inside = FeetInsideABlock(blocks);
                EXPECT_EQ(inside, "") << "frame " << i;
                sank = !inside.empty();
            }
        };
        // Space held for a full jump; with the kick, the water skill near its top.
        const auto jump = [&](bool kick) {
            driver.Down(SDLK_SPACE);
            watch(kick ? 26 : 32);
            if (kick) {
                driver.Tap(SDLK_c);
                watch(6);
            }
            driver.Up(SDLK_SPACE);
            for (int i = 0; i < 120 && !controller->isGrounded && !sank; ++i)
                watch(1);
        };

        driver.Down(SDLK_RIGHT);
        if (c.jumpAtOnce)
            jump(false);  // too low for the wall: the player meets it on the way down
        watch(180);  // three seconds against the wall
        EXPECT_GT(lowest, -1.0f) << "never below the ground it stood on";
        for (int i = 0; i < c.jumps && !sank; ++i) {
            jump(c.kick);
            if (i + 1 < c.jumps)
                watch(60);  // and into the next step's riser
        }
        driver.Up(SDLK_RIGHT);
        watch(30);
        EXPECT_GT(PlayerBox().left, c.topX) << "on top";
        EXPECT_NEAR(PlayerBox().bottom, c.topY, 1.0f);
        EXPECT_TRUE(controller->isGrounded);
    }
}

// scripts/record-level-run: the autopilot plays the four levels through the real game, one
// after the other as the test above does (dying once in Level 1), and its keys in each
// become the recordings the test replays.
TEST(EndToEnd, DISABLED_RecordLevelRuns)
{
    GameDriver driver;
    ToFirstLevel(driver, [](const std::string&) {});
    for (const LevelPlan& plan : Plans()) {
        SCOPED_TRACE("Level " + std::to_string(plan.number));
        ASSERT_EQ(GameStateIndex, plan.number + 2);
        EndToEnd::LevelAutopilot pilot(plan.dieAfterX, plan.jumps);
        const LevelRun run = PlayLevel(driver, [&](std::int64_t) { pilot.Step(driver); });
        if (!run.finished) {
            const auto* at = OfPlayer<Engine::Transform>();
            FAIL() << "the autopilot did not reach the gate; the player is at " << at->x_pos << ", " << at->y_pos
                   << " after " << run.deaths << " deaths";
        }
        if (plan.number == 1) {
            ASSERT_EQ(run.deaths, 1);
        }
        EndToEnd::WriteRecording(plan.Recording(), plan.Title(), pilot.events);
        std::printf("%zu key changes over %lld frames (%d deaths) written to %s\n", pilot.events.size(),
                    static_cast<long long>(pilot.events.empty() ? 0 : pilot.events.back().frame), run.deaths,
                    plan.Recording().string().c_str());
        OnPastTheLeaderboard(driver);
    }
}

// scripts/screenshots: a picture of every screen, written to $VANTREL_SCREENSHOTS.
TEST(EndToEnd, DISABLED_Screenshots)
{
    const std::filesystem::path folder = ShotFolder();
    ASSERT_FALSE(folder.empty()) << "set VANTREL_SCREENSHOTS to the folder for the pictures";
    GameDriver driver;
    const auto shot = [&](const std::string& name) { driver.Screenshot(folder / (name + ".png")); };
    ToFirstLevel(driver, shot);
    driver.Frames(30);
    shot("04-level-1-start");  // then 05 to 08, and 9 to 11 for the other levels' starts

    driver.Tap(SDLK_ESCAPE);
    driver.Frames(2);
    shot("05-pause-menu");
    driver.Tap(SDLK_RETURN);  // Resume
    ASSERT_EQ(driver.game().paused, 0);

    const LevelRun run = PlayRecording(driver, EndToEnd::ReadRecording(Plans().front().Recording()));
    ASSERT_TRUE(run.finished);
    driver.Frames(30);
    shot("06-level-complete");
    driver.Tap(SDLK_RETURN);
    driver.Frames(5);
    shot("07-score-entry");
    driver.Tap(SDLK_RETURN);
    driver.Frames(5);
    shot("08-leaderboard");
    for (int level = 2; level <= 4; ++level) {
        driver.Tap(SDLK_RETURN);  // from the leaderboard on to the next level
        ASSERT_EQ(GameStateIndex, level + 2);
        driver.Frames(30);
        shot(std::to_string(7 + level) + "-level-" + std::to_string(level) + "-start");
        driver.Tap(SDLK_F1);  // skips the level: straight to its score entry
        driver.Tap(SDLK_RETURN);  // and on to the leaderboard
        ASSERT_EQ(GameStateIndex, 8);
    }
}


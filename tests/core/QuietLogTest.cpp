// Steady play keeps the log quiet: the real game, headless, runs a level frame after frame with
// a living player standing on the ground, and what repeats every frame shows once.
#include "core/Game.h"

#include "TestSupport.h"
#include "core/LogCapture.h"
#include "core/ComponentStore.h"
#include "core/GameClock.h"
#include "core/Controller.h"
#include "core/Log.h"
#include "core/GameObjectTable.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "scripting/ScriptManager.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Frames = 600;
constexpr std::int64_t HalfFrame = 8'333'333;  // two clock reads a frame: 60 frames a second

class QuietLog : public testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>(Engine::FrameClock{
            [this] {
                // The read at the end of the last frame ends the loop, quietly: a quit event
                // would log a line of its own.
                if (++reads == lastRead)
                    game->running = 0;
                return reads * HalfFrame;
            },
            [](std::int64_t) {},
        });
        ImGui::GetIO().IniFilename = nullptr;  // tests run in the repository root: leave imgui.ini alone
        // The timers see the same time pass as the frames.
        Engine::TimerDatabase* timers = Engine::GetSystem<Engine::TimerDatabase>();
        timers->clock = [this] { return reads * HalfFrame; };
        timers->lastTime = reads * HalfFrame;
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);

        // Straight into the first level, as the main menu's Start button goes there.
        Engine::LevelManager& levels = Engine::LevelManager::Instance();
        levels.LoadLevel("Level 1");
        ASSERT_TRUE(levels.CurrentLevelLoadedWhole());
        Engine::GetSystem<Engine::SoundSystem>()->PlayEvent("Level1_LevelMusic");
        GameStateIndex = 3;
    }

    void RunFrames(int frames)
    {
        const std::int64_t first = reads;
        lastRead = first + 2 * frames;
        game->running = 1;
        game->Run();
        ASSERT_EQ(reads, first + 2 * frames);
    }

    static std::size_t CountContaining(const std::vector<std::string>& lines, const std::string& text)
    {
        return static_cast<std::size_t>(
            std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    std::unique_ptr<Game> game;
    std::int64_t reads = 0;  // the clock's time in half frames
    std::int64_t lastRead = 0;
};

// Before, the player controller registered K and L again on every living frame: two lines a
// frame, 1200 in ten seconds.
TEST_F(QuietLog, TenSecondsOfAStandingLivingPlayerAddAHandfulOfLines)
{
    RunFrames(120);  // the player falls to the ground; the first updates log what they set up
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    ASSERT_NE(player, Engine::InvalidObjectId);
    const Engine::Controller* controller = Engine::ComponentStore::Instance().GetComponent<Engine::Controller>(player);
    ASSERT_NE(controller, nullptr);
    EXPECT_FALSE(controller->isDead);
    EXPECT_TRUE(controller->isGrounded);

    // Every line is kept, repeats too: a line written every frame would show 600 times.
    InitializeLogging({.repeatWindow = {}});
    const std::vector<std::string> before = CoreTest::LoggedMessages();
    RunFrames(Frames);
    const std::vector<std::string> after = CoreTest::LoggedMessages();

    EXPECT_FALSE(controller->isDead);
    EXPECT_TRUE(controller->isGrounded);
    std::string gained;
    for (std::size_t i = before.size(); i < after.size(); ++i)
        gained += after[i] + "\n";
    EXPECT_LE(after.size() - before.size(), 5u) << gained;
}

// A fault that repeats every frame is written a few times and then counted, at the end of
// each window of five seconds of the game clock, which runs with the frames here.
TEST_F(QuietLog, AMissingEveryFrameScriptIsLoggedAFewTimesThenCounted)
{
    Engine::GameClock::Set([this] { return Engine::GameClock::TimePoint(std::chrono::nanoseconds(reads * HalfFrame)); });
    InitializeLogging();
    Engine::GetSystem<Engine::ScriptManager>()->RegisterEveryFrame("NoSuchScript");
    RunFrames(Frames);
    reads += 2 * 60 * 6;  // six seconds later the last window is over
    FlushLog();
    Engine::GameClock::Set({});

    // The first frame runs the list made before the script joined it: 599 tries.
    const std::string missing = "Attempted to run a script that doesn't exist! NoSuchScript";
    std::vector<std::string> lines = CoreTest::LoggedMessages();
    std::erase_if(lines, [](const std::string& line) { return line.find("NoSuchScript") == std::string::npos; });
    ASSERT_GE(lines.size(), 4u);
    ASSERT_LE(lines.size(), 6u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), missing), 3);
    std::size_t counted = 0;
    for (std::size_t i = 3; i < lines.size(); ++i) {
        const std::string prefix = "\"" + missing + "\" repeated ";
        ASSERT_TRUE(lines[i].starts_with(prefix)) << lines[i];
        counted += std::stoul(lines[i].substr(prefix.size()));
    }
    EXPECT_EQ(counted + 3, static_cast<std::size_t>(Frames - 1));
}

}  // namespace

#include "core/Game.h"

#include "TestSupport.h"
#include "core/FrameTime.h"
#include "core/Log.h"
#include "core/InputManager.h"
#include "core/GameObjectTable.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "graphics/Camera.h"
#include "platform/StudioEventInstance.h"
#include "scripting/ScriptManager.h"
#include "editor/Editor.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// A steady clock that answers each read from a script and records every sleep instead of
// sleeping, so that a frame's duration is whatever the test says it is.
struct ScriptedClock {
    std::deque<std::int64_t> reads;
    std::vector<std::int64_t> sleeps;
    std::vector<std::string> lastLogLineAtRead;  // the newest log line at each read: what had happened

    Engine::FrameClock Clock()
    {
        return Engine::FrameClock{
            [this] {
                const auto& lines = Engine::Editor::Instance().logLines;
                lastLogLineAtRead.push_back(lines.empty() ? std::string() : lines.back());
                if (reads.empty()) {
                    ADD_FAILURE() << "the clock was read more often than scripted";
                    return std::int64_t{0};
                }
                const std::int64_t now = reads.front();
                reads.pop_front();
                return now;
            },
            [this](std::int64_t nanoseconds) { sleeps.push_back(nanoseconds); },
        };
    }
};

constexpr std::int64_t Budget = 16'666'666;
constexpr std::int64_t Start = 5'000'000'000;  // the clock read at the end of construction

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        clock.reads.push_back(Start);
        game = std::make_unique<Game>(clock.Clock());
        ImGui::GetIO().IniFilename = nullptr;  // tests run in the repository root: leave imgui.ini alone
        // Whatever the window system queued while the window opened is not part of a test.
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // One frame: the quit event makes Run return after it.
    void RunOneFrame(std::int64_t frameStart, std::int64_t frameEnd)
    {
        clock.reads.push_back(frameStart);
        clock.reads.push_back(frameEnd);
        PushQuit();
        game->running = 1;
        game->Run();
        EXPECT_TRUE(clock.reads.empty());
    }

    static void PushQuit()
    {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&quit), 1) << SDL_GetError();
    }

    static std::string LogFileText()
    {
        return TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt");
    }

    ScriptedClock clock;
    std::unique_ptr<Game> game;
};

TEST_F(GameTest, StartsWithTheGameFlowDefaultsAndTakesTheClockLast)
{
    const Game& g = *game;
    EXPECT_EQ(g.levelChangeRequested, 0);
    EXPECT_EQ(g.splashTimer, 2.5f);
    EXPECT_EQ(g.screenTimer, 2.5f);
    EXPECT_EQ(g.musicEnabled, 1);
    EXPECT_EQ(g.fullscreen, 1);
    EXPECT_EQ(g.running, 1);
    const std::vector<int> zeros = {g.advanceRequested, g.mainMenuSelection, g.pauseMenuSelection,
                                    g.confirmSelection, g.optionsSelection,  g.enterHeld,
                                    g.confirmDialogOpen, g.howToPlayOpen,    g.optionsOpen,
                                    g.levelCompleteShown, g.previousState,   g.lastLevelIndex,
                                    g.debugEnabled,      g.editorActive,     g.paused};
    EXPECT_EQ(zeros, std::vector<int>(zeros.size(), 0));
    EXPECT_EQ(g.window.closeRequested, 0);
    EXPECT_EQ(g.lastFrameTime, Start);
    EXPECT_EQ(g.frameStartTime, 0);

    // Logging came first, then the window, then the renderer, and only then the clock read.
    // The log file holds every line (the editor's list keeps only the newest ones).
    FlushLog();
    const std::string log = LogFileText();
    const std::size_t window = log.find("] [info] Creating Window...");
    const std::size_t renderer = log.find("] [info] Initializing Graphics...");
    ASSERT_NE(window, std::string::npos);
    ASSERT_NE(renderer, std::string::npos);
    ASSERT_LT(window, renderer);
    ASSERT_EQ(clock.lastLogLineAtRead.size(), 1u);
    EXPECT_NE(clock.lastLogLineAtRead[0].find("] [info] Graphics Initialized"), std::string::npos)
        << clock.lastLogLineAtRead[0];
}

struct FrameCase {
    const char* what;
    std::int64_t start;  // steady-clock ns at the top of the frame
    std::int64_t end;    // steady-clock ns when the frame's work is done
    float deltaTime;
    std::int64_t sleep;  // 0: no sleep at all
};

TEST_F(GameTest, SleepsWhatIsLeftOfTheFrameBudgetAndNeverCatchesUp)
{
    const std::vector<FrameCase> frames = {
        {"first frame spans from construction", Start + 8'000'000, Start + 13'000'000, 0.008f, Budget - 5'000'000},
        {"frame of exactly the budget", Start + 8'000'000 + Budget, Start + 8'000'000 + 2 * Budget, 1.0f / 60.0f, 0},
        {"long frame", Start + 8'000'000 + 2 * Budget, Start + 48'000'000 + 2 * Budget, 1.0f / 60.0f, 0},
        {"after a long frame: its whole time, no shortened sleep", Start + 48'000'000 + 2 * Budget,
         Start + 48'000'000 + 3 * Budget - 1, 0.04f, 1},
        {"clock did not advance", Start + 48'000'000 + 2 * Budget, Start + 48'000'000 + 2 * Budget, 0.0f, Budget},
    };
    for (const FrameCase& frame : frames) {
        SCOPED_TRACE(frame.what);
        const std::size_t sleepsBefore = clock.sleeps.size();
        RunOneFrame(frame.start, frame.end);
        EXPECT_EQ(game->frameStartTime, frame.start);
        EXPECT_EQ(game->lastFrameTime, frame.start);
        EXPECT_NEAR(FrameDeltaTime, frame.deltaTime, 1e-6f);
        if (frame.deltaTime == 0.0f) {
            EXPECT_EQ(FrameDeltaTime, 0.0f);
            EXPECT_TRUE(std::isinf(FramesPerSecond));
        } else {
            EXPECT_FLOAT_EQ(FramesPerSecond, static_cast<float>(1.0 / static_cast<double>(FrameDeltaTime)));
        }
        const std::vector<std::int64_t> expected =
            frame.sleep == 0 ? std::vector<std::int64_t>{} : std::vector<std::int64_t>{frame.sleep};
        EXPECT_EQ(std::vector<std::int64_t>(clock.sleeps.begin() + static_cast<long>(sleepsBefore), clock.sleeps.end()),
                  expected);
    }
}

TEST_F(GameTest, QuitEndsTheLoopOnlyAfterTheWholeFrame)
{
    int pressed = 0;
    Engine::InputManager::Instance().RegisterKeyPressedFunction('A', [&] { ++pressed; });
    SDL_Event key{};
    key.key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_a;
    ASSERT_EQ(SDL_PushEvent(&key), 1);
    PushQuit();
    key.key.keysym.sym = SDLK_d;
    ASSERT_EQ(SDL_PushEvent(&key), 1);

    clock.reads = {Start + 1'000'000, Start + 2'000'000};
    game->Run();

    EXPECT_EQ(game->running, 0);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(Engine::InputManager::Instance().held, std::set<std::uint8_t>{'A'});
    EXPECT_EQ(clock.sleeps, std::vector<std::int64_t>{Budget - 1'000'000});  // the frame ran to its end
    EXPECT_NE(LogFileText().find("] [info] Quitting Game...\n"), std::string::npos);  // and was flushed
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), 1);
}

// With no video at all the window and the renderer fail, the renderer posts the quit event,
// and the game ends after its first frame instead of running blind.
TEST(GameWithoutVideo, EndsAfterTheFirstFrame)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    ScriptedClock clock;
    clock.reads = {Start, Start + 1'000'000, Start + 2'000'000};
    Game game(clock.Clock());
    EXPECT_EQ(game.window.Handle(), nullptr);
    game.Run();
    EXPECT_EQ(game.running, 0);
    EXPECT_TRUE(clock.reads.empty());

    const std::string text = TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt");
    for (const char* line : {"] [error] Unable to create window\n", "] [error] Failed to initialize Graphics!\n",
                             "] [info] Quitting Game...\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

}  // namespace

// The world runs only while nothing freezes it; the level musics hear "Paused" either way,
// and queued script calls wait for the first running frame.
TEST_F(GameTest, UpdateRunsTheWorldOnlyWhileNothingFreezesIt)
{
    auto* scripts = Engine::GetSystem<Engine::ScriptManager>();
    auto* sound = Engine::GetSystem<Engine::SoundSystem>();
    auto pausedValue = [&] {
        float value = -1.0f;
        Platform::StudioEventInstance* music = sound->FindInstance("Level1_LevelMusic");
        if (music == nullptr || music->GetParameterByName("Paused", &value) != 0)
            ADD_FAILURE() << "the level music has no Paused parameter";
        return value;
    };

    struct Case {
        const char* what;
        std::uint8_t Game::*flag;
    };
    const Case freezes[] = {{"paused", &Game::paused},
                            {"confirm dialog", &Game::confirmDialogOpen},
                            {"editor", &Game::editorActive}};
    for (const Case& freeze : freezes) {
        SCOPED_TRACE(freeze.what);
        scripts->runList = {"Waiting"};
        scripts->runObjectIds = {7};
        (*game).*freeze.flag = 1;
        // As in the frame loop, inside the UI frame that the open editor draws into.
        game->graphics.NewUiFrame();
        game->Update();
        game->graphics.RenderUi();
        EXPECT_EQ(scripts->runList, std::vector<std::string>{"Waiting"});  // the call waits
        EXPECT_FLOAT_EQ(pausedValue(), 100.0f);

        (*game).*freeze.flag = 0;
        game->Update();
        EXPECT_EQ(scripts->runList, scripts->everyFrame);  // ran, then refilled
        EXPECT_FLOAT_EQ(pausedValue(), 0.0f);
    }
    EXPECT_EQ(Engine::Camera::Instance()->game, game.get());
    // The camera follows the splash screen's "Player", the object that places its view.
    EXPECT_EQ(Engine::Camera::Instance()->followedObjectId,
              static_cast<std::int32_t>(Engine::GameObjectTable::Instance().FindGameObject("Player")));
}

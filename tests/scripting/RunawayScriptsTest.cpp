// Scripts that try to starve the game: the real game, headless, in a game folder whose
// scripts are the shipped ones beside a few hostile ones, on a clock that gives every frame
// exactly 1/60 s (the timers and the log's repeat windows read the same clock).
#include "core/Game.h"

#include "TestSupport.h"
#include "core/GameClock.h"
#include "core/InputManager.h"
#include "core/LogCapture.h"
#include "core/Log.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "scripting/ScriptManager.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Engine::TimerDatabase;

constexpr std::int64_t FrameNs = 16'666'666;

// Every message as the logger receives it, ahead of the filter of repeated lines.
std::vector<std::string> gMessages;

class CaptureSink final : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        gMessages.emplace_back(message.payload.begin(), message.payload.end());
    }
    void flush_() override {}
};

int CountMessages(const std::string& text)
{
    return static_cast<int>(std::count(gMessages.begin(), gMessages.end(), text));
}

int CountMessagesContaining(const std::vector<std::string>& messages, const std::string& text)
{
    return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                          [&](const std::string& message) { return message.find(text) != std::string::npos; }));
}

constexpr const char* Spent = ": script ran past its budget of 100000000 instructions (an endless loop?)";

class RunawayScripts : public testing::Test {
protected:
    void SetUp() override
    {
        previousDirectory = std::filesystem::current_path();
        WriteScripts(TestSupport::UseScratchGameFolder() / "Resources" / "Scripts");

        Engine::GameClock::Set([this] { return Engine::GameClock::TimePoint(std::chrono::nanoseconds(now)); });
        game = std::make_unique<Game>(Engine::FrameClock{
            [this] { return now; },
            [this](std::int64_t nanoseconds) {
                now += nanoseconds;
                if (--framesLeft <= 0)
                    game->running = 0;
            },
        });
        ImGui::GetIO().IniFilename = nullptr;
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        Engine::Logging::DefaultLogger()->sinks().push_back(std::make_shared<CaptureSink>());
        gMessages.clear();
        scripts = Engine::GetSystem<Engine::ScriptManager>();
        timers = Engine::GetSystem<TimerDatabase>();
    }

    void TearDown() override
    {
        game.reset();
        Engine::GameClock::Set({});
        std::filesystem::current_path(previousDirectory);
    }

    static void WriteScripts(const std::filesystem::path& folder)
    {
        // Every call of spawn starts one more timer that calls spawn on every update.
        TestSupport::WriteFile(folder / "Bomb.lua", "spawned = 0\n"
                                                    "local function spawn()\n"
                                                    "    spawned = spawned + 1\n"
                                                    "    RunFor(1000, spawn)\n"
                                                    "end\n"
                                                    "function main() spawn() end\n");
        TestSupport::WriteFile(folder / "Spinner.lua",
                               "function main()\n    RunFor(1000, function() while true do end end)\nend\n");
        TestSupport::WriteFile(folder / "Loop.lua", "function main()\n    while true do end\nend\n");
        TestSupport::WriteFile(folder / "HeldLoop.lua", "function main()\n    while true do end\nend\n");
        TestSupport::WriteFile(folder / "BindHeld.lua", "function main() BindKeyDown(\"H\", \"HeldLoop\") end\n");
        TestSupport::WriteFile(folder / "HeldError.lua", "function main()\n    error(\"no such move\")\nend\n");
        TestSupport::WriteFile(folder / "BindHeldError.lua", "function main() BindKeyDown(\"E\", \"HeldError\") end\n");
        TestSupport::WriteFile(folder / "Counter.lua", "frames = 0\nfunction main() frames = frames + 1 end\n");
        TestSupport::WriteFile(folder / "Faulty.lua",
                               "function main()\n"
                               "    Delay(0, function() error(\"the delay gives up\") end)\n"
                               "    RunFor(0.05, function() error(\"the repeat gives up\") end)\n"
                               "end\n");
        TestSupport::WriteFile(folder / "Stuck.lua", "function main()\n    SendQuitSignal()\n    while true do end\nend\n");
    }

    // Runs up to `frames` frames of the game's own loop; fewer when a quit ends it first.
    void RunFrames(int frames)
    {
        framesLeft = frames;
        game->running = 1;
        game->Run();
    }

    lua_Integer ScriptGlobal(const char* script, const char* name) const
    {
        lua_State* L = scripts->lua.Raw();
        scripts->scripts.at(script).Push();
        lua_getfield(L, -1, name);
        const lua_Integer value = lua_tointeger(L, -1);
        lua_pop(L, 2);
        return value;
    }

    std::int64_t now = 5'000'000'000;
    int framesLeft = 0;
    std::unique_ptr<Game> game;
    Engine::ScriptManager* scripts = nullptr;
    TimerDatabase* timers = nullptr;
    std::filesystem::path previousDirectory;
};

bool Ignored(int signalNumber)
{
    struct sigaction current {};
    sigaction(signalNumber, nullptr, &current);
    return current.sa_handler == SIG_IGN;
}

// Before, the timers doubled every frame and each insertion scanned every slot: frames took
// seconds, then minutes, and SIGINT went unanswered.
TEST_F(RunawayScripts, ATimerBombStopsAtTheCeilingAndASignalStillEndsTheGameAtOnce)
{
    scripts->Queue("Bomb", 0);
    RunFrames(24);
    ASSERT_EQ(framesLeft, 0);  // every frame ran

    // The bomb's timers failed at the ceiling and were stopped, all in one line.
    EXPECT_LT(timers->LiveCount(), TimerDatabase::MaxLiveTimers);
    EXPECT_EQ(CountMessages("RunFor: script Bomb asked for a timer while 65536 are live; refused"), 1);
    EXPECT_EQ(CountMessagesContaining(gMessages, "Script Bomb failed in "), 1);
    EXPECT_EQ(CountMessages("Script Bomb failed in 65536 RunFor functions: Resources/Scripts/Bomb.lua:4: "
                            "RunFor: 65536 timers are live already (the timers are stopped)"),
              1);
    const std::size_t slots = timers->timers.size();
    RunFrames(2);
    EXPECT_EQ(timers->timers.size(), slots);

    for (const int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        if (Ignored(signalNumber)) {
            std::printf("signal %d is ignored by this process; not checked\n", signalNumber);
            continue;
        }
        const lua_Integer spawned = ScriptGlobal("Bomb", "spawned");
        const int quits = CountMessages("Quitting Game...");
        ASSERT_EQ(std::raise(signalNumber), 0);
        RunFrames(100);
        // The frame the signal arrived before ends the loop, and no script call starts in it.
        EXPECT_EQ(framesLeft, 99);
        EXPECT_EQ(CountMessages("Quitting Game..."), quits + 1);
        EXPECT_EQ(ScriptGlobal("Bomb", "spawned"), spawned);
    }
}

// A quit that arrives while a script is inside an endless loop ends that call long before the
// budget would, and the game with that frame.
TEST_F(RunawayScripts, ASignalDuringAnEndlessCallEndsTheCallAndTheGame)
{
    const int signalNumber = Ignored(SIGTERM) ? SIGINT : SIGTERM;
    if (Ignored(signalNumber))
        GTEST_SKIP() << "SIGINT and SIGTERM are both ignored by this process";
    scripts->lua.SetFunction("SendQuitSignal", [signalNumber] { std::raise(signalNumber); });
    scripts->Queue("Stuck", 0);
    RunFrames(100);
    EXPECT_EQ(framesLeft, 98);  // the call's frame, then the frame of the quit event
    EXPECT_EQ(CountMessages("Script Stuck stopped: the game is quitting"), 1);
    EXPECT_EQ(CountMessagesContaining(gMessages, "Script Stuck failed"), 0);
    EXPECT_EQ(CountMessages("Quitting Game..."), 1);

    // The quit was honoured: the game runs again when asked to.
    RunFrames(2);
    EXPECT_EQ(framesLeft, 0);
}

// Before, each of these ran into the budget again in every frame and held the game at a frame
// or two a second for as long as it lived.
TEST_F(RunawayScripts, RepeatingCallsThatRunPastTheirBudgetAreStoppedWithOneLineEach)
{
    scripts->RegisterEveryFrame("Loop");
    scripts->RegisterEveryFrame("Counter");
    scripts->Queue("Spinner", 0);
    scripts->Queue("BindHeld", 0);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    key.key.keysym.sym = SDLK_h;
    key.key.keysym.scancode = SDL_SCANCODE_H;
    ASSERT_EQ(SDL_PushEvent(&key), 1);

    RunFrames(3);
    EXPECT_EQ(CountMessages(std::string("Script Spinner failed in a RunFor function: Resources/Scripts/Spinner.lua:2") + Spent), 1);
    EXPECT_EQ(CountMessages("Script Spinner ran past its budget in a RunFor function: that timer is stopped"), 1);
    EXPECT_EQ(CountMessages(std::string("Script Loop failed: Resources/Scripts/Loop.lua:2") + Spent), 1);
    EXPECT_EQ(CountMessages("Script Loop ran past its budget: it no longer runs every frame"), 1);
    EXPECT_EQ(CountMessages(std::string("Script HeldLoop failed: Resources/Scripts/HeldLoop.lua:2") + Spent), 1);
    EXPECT_EQ(CountMessages("Script HeldLoop ran past its budget: holding the key H no longer runs it"), 1);
    EXPECT_TRUE(Engine::InputManager::Instance().held.contains('H'));
    EXPECT_FALSE(Engine::InputManager::Instance().keyDown.contains('H'));
    EXPECT_EQ(std::count(scripts->everyFrame.begin(), scripts->everyFrame.end(), "Loop"), 0);

    // Two seconds later nothing of them is left running: no more failures, and the every-frame
    // script beside them ran in every frame.
    const lua_Integer counted = ScriptGlobal("Counter", "frames");
    RunFrames(120);
    EXPECT_EQ(ScriptGlobal("Counter", "frames"), counted + 120);
    EXPECT_EQ(CountMessagesContaining(gMessages, "budget"), 6);
    EXPECT_EQ(timers->LiveCount(), 0u);
}

// Before, a held key whose script raised an error failed again in every frame it was held.
TEST_F(RunawayScripts, AHeldKeyWhoseScriptFailsIsUnboundWithOneLine)
{
    scripts->Queue("BindHeldError", 0);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.state = SDL_PRESSED;
    key.key.keysym.sym = SDLK_e;
    key.key.keysym.scancode = SDL_SCANCODE_E;
    ASSERT_EQ(SDL_PushEvent(&key), 1);

    RunFrames(60);
    EXPECT_EQ(CountMessagesContaining(gMessages, "Script HeldError failed: Resources/Scripts/HeldError.lua:2: no such move"), 1);
    EXPECT_EQ(CountMessages("Script HeldError failed: holding the key E no longer runs it"), 1);
    EXPECT_TRUE(Engine::InputManager::Instance().held.contains('E'));
    EXPECT_FALSE(Engine::InputManager::Instance().keyDown.contains('E'));
}

// Before, a timer's function that raised an error left no line at all, and a repeating one
// failed again in every frame.
TEST_F(RunawayScripts, ErrorsOfTimerFunctionsAreLoggedUnderTheirScriptsName)
{
    scripts->Queue("Faulty", 0);
    RunFrames(6);
    EXPECT_EQ(CountMessages("Script Faulty failed in a Delay function: Resources/Scripts/Faulty.lua:2: the delay gives up"), 1);
    // A repeating function that fails is stopped at its first failure.
    EXPECT_EQ(CountMessages("Script Faulty failed in a RunFor function: Resources/Scripts/Faulty.lua:3: the repeat gives up "
                            "(the timer is stopped)"),
              1);
    EXPECT_EQ(timers->LiveCount(), 0u);
}

// Before, two missing every-frame scripts took turns: no line was ever a repeat of the one
// before it, and each frame wrote two lines.
TEST_F(RunawayScripts, TwoAlternatingMissingScriptsWriteAHandfulOfLinesInTenSeconds)
{
    scripts->RegisterEveryFrame("NoSuchScriptA");
    scripts->RegisterEveryFrame("NoSuchScriptB");
    RunFrames(600);
    EXPECT_EQ(CountMessages("Attempted to run a script that doesn't exist! NoSuchScriptA"), 599);

    // Start-up and the change of screen write lines of their own meanwhile.
    std::vector<std::string> written = CoreTest::LoggedMessages();
    std::erase_if(written, [](const std::string& line) { return line.find("NoSuchScript") == std::string::npos; });
    std::string text;
    for (const std::string& line : written)
        text += line + "\n";
    EXPECT_LE(written.size(), 14u) << text;
    // The first time each was missed is there as it was logged.
    EXPECT_EQ(written[0], "Attempted to run a script that doesn't exist! NoSuchScriptA") << text;
    EXPECT_EQ(written[1], "Attempted to run a script that doesn't exist! NoSuchScriptB") << text;
    EXPECT_GE(CountMessagesContaining(written, "NoSuchScriptA\" repeated "), 1) << text;
}

}  // namespace

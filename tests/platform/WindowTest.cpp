#include "platform/Window.h"

#include "core/InputManager.h"
#include "core/Log.h"
#include "editor/Editor.h"
#include "platform/HeldKeys.h"
#include "platform/UiLayer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using Engine::InputManager;

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        InitializeLogging({.repeatWindow = {}});  // every line: the tests count repeated quits
        window = std::make_unique<Window>(1280, 720);
        ASSERT_NE(window->Handle(), nullptr);
        Window::PumpMessages();  // what the window system queued while the window opened
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    void TearDown() override
    {
        ui.Shutdown();
        if (glContext != nullptr)
            SDL_GL_DeleteContext(glContext);
        window.reset();
        SDL_Quit();
    }

    // The UI layer on the window, as the renderer starts it.
    void StartUi()
    {
        glContext = SDL_GL_CreateContext(window->Handle());
        ASSERT_NE(glContext, nullptr) << SDL_GetError();
        ASSERT_TRUE(ui.Start(window->Handle(), glContext, 1280, 720));
        ASSERT_EQ(Platform::UiLayer::Active(), &ui);
        ImGui::GetIO().IniFilename = nullptr;
    }

    static void PushKey(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE, Uint8 repeat = 0)
    {
        SDL_Event event{};
        event.key.type = type;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.repeat = repeat;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        event.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    void PushClose() const
    {
        SDL_Event event{};
        event.window.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        event.window.windowID = SDL_GetWindowID(window->Handle());
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    static void PushQuit()
    {
        SDL_Event event{};
        event.type = SDL_QUIT;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }

    static int QueuedEvents() { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT); }

    static std::set<std::uint8_t> Held() { return InputManager::Instance().held; }

    static int CountLogLines(const std::string& text)
    {
        const auto& lines = Engine::Editor::Instance().logLines;
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        }));
    }

    std::unique_ptr<Window> window;
    SDL_GLContext glContext = nullptr;
    Platform::UiLayer ui;
};

TEST_F(WindowTest, OpensAtTheAskedSizeWithTitleAndLogsIt)
{
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->Handle(), &width, &height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);
    EXPECT_STREQ(SDL_GetWindowTitle(window->Handle()), "Project Vantrel");
    EXPECT_NE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_OPENGL, 0u);
    EXPECT_EQ(CountLogLines("[info] Creating Window...\n"), 1);
}

TEST_F(WindowTest, OpensCentredOnItsScreen)
{
    SDL_Rect screen{};
    ASSERT_EQ(SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window->Handle()), &screen), 0) << SDL_GetError();
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(window->Handle(), &x, &y);
    SDL_GetWindowSize(window->Handle(), &width, &height);
    EXPECT_EQ(x, screen.x + (screen.w - width) / 2);
    EXPECT_EQ(y, screen.y + (screen.h - height) / 2);
}

TEST_F(WindowTest, CloseButtonOnlySetsTheRequestFlag)
{
    PushClose();
    PushClose();  // a second close before the flag is read changes nothing more
    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_EQ(window->closeRequested, 1);
    EXPECT_NE(SDL_GetWindowFromID(SDL_GetWindowID(window->Handle())), nullptr);
    EXPECT_NE(SDL_GetWindowFlags(window->Handle()) & SDL_WINDOW_SHOWN, 0u);
    EXPECT_EQ(CountLogLines("Quitting Game..."), 0);
    // SDL would otherwise answer the last window's close button with a quit event of its own.
    EXPECT_FALSE(SDL_GetHintBoolean(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, SDL_TRUE));
}

TEST_F(WindowTest, FollowsItsInputFocusFromTheWindowEvents)
{
    EXPECT_FALSE(window->HasInputFocus());
    for (const auto& [event, focused] : {std::pair{SDL_WINDOWEVENT_FOCUS_GAINED, true}, std::pair{SDL_WINDOWEVENT_FOCUS_LOST, false}}) {
        SDL_Event focus{};
        focus.window.type = SDL_WINDOWEVENT;
        focus.window.event = static_cast<Uint8>(event);
        focus.window.windowID = SDL_GetWindowID(window->Handle());
        ASSERT_EQ(SDL_PushEvent(&focus), 1) << SDL_GetError();
        EXPECT_TRUE(Window::PumpMessages());
        EXPECT_EQ(window->HasInputFocus(), focused);
    }
}

TEST_F(WindowTest, QueuedEventsAreAllHandledInQueueOrder)
{
    std::vector<std::string> calls;
    InputManager& input = InputManager::Instance();
    input.RegisterKeyPressedFunction('A', [&] { calls.push_back("A down"); });
    input.RegisterKeyPressedFunction('D', [&] { calls.push_back("D down"); });
    input.RegisterKeyUpFunction('A', [&] { calls.push_back("A up"); });
    input.RegisterKeyPressedFunction(0x20, [&] { calls.push_back("Space down"); });

    input.RegisterKeyUpFunction('D', [&] { calls.push_back("D up"); });
    PushKey(SDL_KEYDOWN, SDLK_d);
    EXPECT_TRUE(Window::PumpMessages());

    PushKey(SDL_KEYDOWN, SDLK_a);
    PushClose();
    PushKey(SDL_KEYUP, SDLK_d);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    EXPECT_TRUE(Window::PumpMessages());

    EXPECT_EQ(calls, (std::vector<std::string>{"D down", "A down", "D up", "Space down"}));
    EXPECT_EQ(Held(), (std::set<std::uint8_t>{'A', 0x20}));
    EXPECT_EQ(window->closeRequested, 1);
    EXPECT_EQ(QueuedEvents(), 0);
}

// A press and its release queued for one frame (a quick tap) are handled in two: the release,
// and everything queued behind it, wait for the next pump, so that a frame sees the key down.
// A repeat of a held key changes nothing and waits for nothing.
TEST_F(WindowTest, AKeyChangesAtMostOnceAPump)
{
    std::vector<std::string> calls;
    InputManager& input = InputManager::Instance();
    input.RegisterKeyPressedFunction('A', [&] { calls.push_back("A down"); });
    input.RegisterKeyUpFunction('A', [&] { calls.push_back("A up"); });
    input.RegisterKeyPressedFunction(0x20, [&] { calls.push_back("Space down"); });

    PushKey(SDL_KEYDOWN, SDLK_a);
    PushKey(SDL_KEYDOWN, SDLK_a);  // auto-repeat
    PushKey(SDL_KEYUP, SDLK_a);
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushKey(SDL_KEYUP, SDLK_a);

    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_EQ(calls, (std::vector<std::string>{"A down"}));
    EXPECT_EQ(Held(), std::set<std::uint8_t>{'A'});
    EXPECT_TRUE(Platform::KeyHeld('A')) << "held as the game saw it";
    EXPECT_EQ(QueuedEvents(), 4);

    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_EQ(calls, (std::vector<std::string>{"A down", "A up", "Space down"}));
    EXPECT_FALSE(Platform::KeyHeld('A'));
    EXPECT_EQ(QueuedEvents(), 2);

    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_EQ(calls, (std::vector<std::string>{"A down", "A up", "Space down", "A down", "A up"}));
    EXPECT_EQ(Held(), std::set<std::uint8_t>{0x20});
    EXPECT_EQ(QueuedEvents(), 0);
}

TEST_F(WindowTest, QuitEndsThePumpAndLeavesLaterEventsQueued)
{
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushQuit();
    PushKey(SDL_KEYDOWN, SDLK_d);
    PushClose();

    EXPECT_FALSE(Window::PumpMessages());
    EXPECT_EQ(Held(), std::set<std::uint8_t>{'A'});
    EXPECT_EQ(window->closeRequested, 0);
    EXPECT_EQ(QueuedEvents(), 2);
    EXPECT_EQ(CountLogLines("[info] Quitting Game...\n"), 1);

    EXPECT_TRUE(Window::PumpMessages());  // the next frame handles what stayed queued
    EXPECT_EQ(Held(), (std::set<std::uint8_t>{'A', 'D'}));
    EXPECT_EQ(window->closeRequested, 1);
}

TEST_F(WindowTest, KeysAreWithheldWhileTheUiWantsTheKeyboard)
{
    int pressedRuns = 0;
    int upRuns = 0;
    int downRuns = 0;
    InputManager& input = InputManager::Instance();
    input.RegisterKeyPressedFunction('A', [&] { ++pressedRuns; });
    input.RegisterKeyUpFunction('A', [&] { ++upRuns; });
    input.RegisterKeyDownFunction('A', [&] { ++downRuns; });
    StartUi();
    ImGuiIO& io = ImGui::GetIO();

    io.WantCaptureKeyboard = true;
    PushKey(SDL_KEYDOWN, SDLK_a);
    Window::PumpMessages();
    EXPECT_TRUE(Held().empty());
    EXPECT_EQ(pressedRuns, 0);

    // Pressed outside the UI, released inside it: the key stays held and keeps running.
    io.WantCaptureKeyboard = false;
    PushKey(SDL_KEYDOWN, SDLK_a);
    Window::PumpMessages();
    io.WantCaptureKeyboard = true;
    PushKey(SDL_KEYUP, SDLK_a);
    Window::PumpMessages();
    EXPECT_EQ(Held(), std::set<std::uint8_t>{'A'});
    EXPECT_EQ(upRuns, 0);
    input.RunKeyDownFunctions();
    EXPECT_EQ(downRuns, 1);

    io.WantCaptureKeyboard = false;
    PushKey(SDL_KEYUP, SDLK_a);
    Window::PumpMessages();
    EXPECT_TRUE(Held().empty());
    EXPECT_EQ(upRuns, 1);
    EXPECT_EQ(pressedRuns, 1);
}

TEST_F(WindowTest, AltCombinationsAndUnmappedKeysAreNotRouted)
{
    int runs = 0;
    InputManager& input = InputManager::Instance();
    input.RegisterKeyPressedFunction(0x73, [&] { ++runs; });  // F4
    input.RegisterKeyUpFunction(0x73, [&] { ++runs; });

    PushKey(SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_F4, KMOD_LALT);
    PushKey(SDL_KEYUP, SDLK_F4, KMOD_RALT);
    PushKey(SDL_KEYDOWN, SDLK_F13);
    PushKey(SDL_KEYDOWN, SDLK_CAPSLOCK);
    EXPECT_TRUE(Window::PumpMessages());
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(Held().empty());
}

TEST_F(WindowTest, AutoRepeatArrivesAsRepeatedKeyDowns)
{
    int runs = 0;
    InputManager::Instance().RegisterKeyPressedFunction('J', [&] { ++runs; });
    PushKey(SDL_KEYDOWN, SDLK_j);
    PushKey(SDL_KEYDOWN, SDLK_j, KMOD_NONE, 1);
    PushKey(SDL_KEYDOWN, SDLK_j, KMOD_NONE, 1);
    Window::PumpMessages();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Held(), std::set<std::uint8_t>{'J'});
}

TEST_F(WindowTest, EveryEventReachesTheUiBackEndOnceItIsStarted)
{
    StartUi();
    ImGuiIO& io = ImGui::GetIO();

    SDL_Event text{};
    text.text.type = SDL_TEXTINPUT;
    text.text.windowID = SDL_GetWindowID(window->Handle());
    SDL_strlcpy(text.text.text, "x", sizeof(text.text.text));
    ASSERT_EQ(SDL_PushEvent(&text), 1);
    PushKey(SDL_KEYDOWN, SDLK_a);
    PushQuit();
    EXPECT_FALSE(Window::PumpMessages());

    ASSERT_EQ(io.InputQueueCharacters.Size, 1);
    EXPECT_EQ(io.InputQueueCharacters[0], 'x');
    EXPECT_TRUE(io.KeysDown[SDL_SCANCODE_A]);
    EXPECT_EQ(Held(), std::set<std::uint8_t>{'A'});  // the UI did not want the keyboard
}

// SDL turns SIGINT and SIGTERM into its quit event, which the pump meets like any other.
TEST_F(WindowTest, InterruptAndTerminateSignalsEndThePumpLikeTheQuitEvent)
{
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signalNumber);
        struct sigaction current {};
        sigaction(signalNumber, nullptr, &current);
        if (current.sa_handler == SIG_IGN) {
            // SDL leaves a signal alone that the parent told us to ignore (a background job).
            std::printf("signal %d is ignored by this process; not checked\n", signalNumber);
            continue;
        }
        const int quitsBefore = CountLogLines("[info] Quitting Game...\n");
        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_FALSE(Window::PumpMessages());
        EXPECT_EQ(CountLogLines("[info] Quitting Game...\n"), quitsBefore + 1);
        EXPECT_TRUE(Window::PumpMessages());
    }
}

TEST(WindowWithoutVideo, LogsThatItCouldNotBeCreatedAndTheGameGoesOn)
{
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    InitializeLogging();
    {
        Window window(1280, 720);
        EXPECT_EQ(window.Handle(), nullptr);
        EXPECT_TRUE(Window::PumpMessages());  // events still work without video
    }
    const auto& lines = Engine::Editor::Instance().logLines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(lines[0].find("] [info] Creating Window...\n"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("] [error] Unable to create window\n"), std::string::npos) << lines[1];
}

}  // namespace

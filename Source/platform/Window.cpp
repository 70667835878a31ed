#include "platform/Window.h"

#include "core/Log.h"
#include "platform/HeldKeys.h"
#include "platform/KeyMap.h"
#include "platform/QuitRequest.h"
#include "platform/UiLayer.h"

#include <SDL.h>

#include <bitset>
#include <csignal>
#include <set>
#include <utility>

namespace {

constexpr const char* WindowTitle = "Project Vantrel";
// Centred on the screen, so that a window larger than a small screen (or one left from full
// screen) loses its edges evenly rather than its whole right and bottom.
constexpr int WindowX = SDL_WINDOWPOS_CENTERED;
constexpr int WindowY = SDL_WINDOWPOS_CENTERED;
constexpr const char* WindowDataKey = "Window";  // SDL window data slot holding the Window

// The UI layer is started by the renderer; tests and a failed renderer run without it.
bool UiWantsKeyboard()
{
    const Platform::UiLayer* ui = Platform::UiLayer::Active();
    return ui != nullptr && ui->WantsKeyboard();
}

// Keys the game keeps while the UI holds the keyboard (see ClaimKeysFromUi).
Window::KeyClaim keyClaim;
// A plain pointer, set before main: no start-up order between files can find it half made.
constinit Window::KeyRoute keyRoute = nullptr;
// Claimed keys now down: their releases reach the input manager too, or the next press of the
// key would look like a repeat to it.
std::set<std::uint8_t> claimedKeysDown;
// A claimed key was just pressed: SDL follows a key press with the character it types, which
// must not be typed into the UI's text.
bool dropTypedCharacter = false;

void RequestOpenGl33Core()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);  // nothing draws with a stencil
}

}  // namespace

Window::Window(std::int32_t clientWidth, std::int32_t clientHeight) : width(clientWidth), height(clientHeight)
{
    LogInfo("Creating Window...");

    // The close button only asks for confirmation (Game::Update); SDL must not turn it into
    // a quit event of its own. SIGINT and SIGTERM become SDL_QUIT at the next pump as well,
    // but through handlers of our own: a script call that is running when one arrives must
    // hear of it (Platform::QuitRequest), which SDL's handlers would not tell.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Events start on their own so that a failed renderer can still post its quit event
    // when there is no video.
    eventsStarted = SDL_InitSubSystem(SDL_INIT_EVENTS) == 0;
    InstallQuitSignals();
    videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (videoStarted) {
        RequestOpenGl33Core();
        handle = SDL_CreateWindow(WindowTitle, WindowX, WindowY, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    }
    if (handle == nullptr) {
        LogError("Unable to create window");
        LogError("SDL: {}", SDL_GetError());
        return;
    }
    SDL_SetWindowData(handle, WindowDataKey, this);
}

namespace {
extern "C" void OnQuitSignal(int) { Platform::QuitRequest::Raise(); }
}  // namespace

void Window::InstallQuitSignals()
{
    for (std::size_t i = 0; i < QuitSignals.size(); ++i) {
        struct sigaction current {};
        sigaction(QuitSignals[i], nullptr, &current);
        // A signal the parent told us to ignore (a background job) stays ignored.
        if (current.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = &OnQuitSignal;
        sigemptyset(&action.sa_mask);
        if (sigaction(QuitSignals[i], &action, &previousHandlers[i]) == 0)
            installedHandlers[i] = true;
    }
}

void Window::RestoreQuitSignals()
{
    for (std::size_t i = 0; i < QuitSignals.size(); ++i) {
        if (installedHandlers[i])
            sigaction(QuitSignals[i], &previousHandlers[i], nullptr);
        installedHandlers[i] = false;
    }
}

Window::~Window()
{
    RestoreQuitSignals();
    if (handle != nullptr)
        SDL_DestroyWindow(handle);
    if (videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (eventsStarted)
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

void Window::RouteKeysTo(KeyRoute route) { keyRoute = route; }

void Window::ClaimKeysFromUi(KeyClaim claim)
{
    keyClaim = std::move(claim);
    claimedKeysDown.clear();
    dropTypedCharacter = false;
}

bool Window::KeptFromUi(const SDL_Event& event)
{
    if (event.type == SDL_TEXTINPUT) {
        const bool typedByClaimedKey = dropTypedCharacter;
        dropTypedCharacter = false;
        return typedByClaimedKey;
    }
    if (event.type != SDL_KEYDOWN)
        return false;
    dropTypedCharacter = false;
    const SDL_Keymod modifiers = static_cast<SDL_Keymod>(event.key.keysym.mod);
    const std::uint8_t key = Platform::VirtualKeyFromSdl(event.key.keysym.sym);
    if (key == 0 || (modifiers & KMOD_ALT) != 0 || !keyClaim || !UiWantsKeyboard()
        || !keyClaim(key, (modifiers & KMOD_CTRL) != 0, (modifiers & KMOD_SHIFT) != 0))
        return false;
    claimedKeysDown.insert(key);
    dropTypedCharacter = true;
    return true;
}

bool Window::PumpMessages()
{
    // A signal's quit joins the queue behind the events that came before it.
    if (Platform::QuitRequest::TakeSignal()) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    // One event at a time, so that everything behind a quit event stays queued. A key changes
    // at most once a frame: a press and its release between two frames (a quick tap) are seen
    // in two frames, the release and all behind it left queued for the next, or the game's
    // menus and the UI, which look at keys once a frame, would never see the key down.
    SDL_PumpEvents();
    std::bitset<SDL_NUM_SCANCODES> changedThisFrame;
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        if (Platform::ChangesHeldKey(event)) {
            const auto scancode = static_cast<std::size_t>(event.key.keysym.scancode);
            if (changedThisFrame.test(scancode))
                return true;
            changedThisFrame.set(scancode);
        }
        SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        Platform::NoteKeyEvent(event);
        Platform::UiLayer* ui = Platform::UiLayer::Active();
        if (ui != nullptr && !KeptFromUi(event))
            ui->ProcessEvent(event);
        if (event.type == SDL_QUIT) {
            LogQuit();
            return false;
        }
        HandleMessage(event);
    }
    return true;
}

void Window::LogQuit() { LogInfo("Quitting Game..."); }

void Window::HandleMessage(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: {
        SDL_Window* sdlWindow = SDL_GetWindowFromID(event.window.windowID);
        auto* window = sdlWindow == nullptr ? nullptr : static_cast<Window*>(SDL_GetWindowData(sdlWindow, WindowDataKey));
        if (window == nullptr)
            return;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            window->closeRequested = 1;
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            window->inputFocus = true;
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            window->inputFocus = false;
        return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const std::uint8_t key = Platform::VirtualKeyFromSdl(event.key.keysym.sym);
        if (key == 0)
            return;
        const bool claimed = event.type == SDL_KEYDOWN ? claimedKeysDown.count(key) != 0 : claimedKeysDown.erase(key) != 0;
        // Keys pressed or released with Alt held are the system's (window manager shortcuts).
        if (!claimed && ((event.key.keysym.mod & KMOD_ALT) != 0 || UiWantsKeyboard()))
            return;
        if (keyRoute != nullptr)
            keyRoute(key, event.type == SDL_KEYDOWN);
        return;
    }
    default:
        return;
    }
}

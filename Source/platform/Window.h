// Window: the game's one SDL window, a member of Game. It is created with an OpenGL-capable
// surface for the renderer, and its PumpMessages drains SDL's event queue once per frame,
// routing every event first to the UI layer, the close button to closeRequested and key
// events to the key route (the input manager installs it, core/InputManager.cpp).
#pragma once

#include <array>
#include <csignal>
#include <cstdint>
#include <functional>

struct SDL_Window;
union SDL_Event;

class Window {
public:
    // Logs "Creating Window..." and opens the window with a client area of width x height (the
    // game passes the camera's view size); when that fails it logs "Unable to create window"
    // and the game goes on with no window.
    Window(std::int32_t width, std::int32_t height);
    ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Handles every queued event; false when the quit event was met. Events queued behind the
    // quit event stay queued for a later pump.
    static bool PumpMessages();

    // The line that every way of quitting logs, the quit event's and the confirmed quit's.
    static void LogQuit();

    // Decides which key presses stay the game's while the UI holds the keyboard (a virtual-key
    // code and whether Ctrl and Shift are down). A claimed press, its release and the character
    // it types go past the UI to the input manager. The editor claims its shortcuts over its
    // script text this way; with no claim every key stays with the UI.
    using KeyClaim = std::function<bool(std::uint8_t key, bool ctrl, bool shift)>;
    static void ClaimKeysFromUi(KeyClaim claim);

    // Where key presses and releases go (a virtual-key code, down or up). Set before main by
    // the input manager; keys pumped without one are dropped.
    using KeyRoute = void (*)(std::uint8_t key, bool down);
    static void RouteKeysTo(KeyRoute route);

    SDL_Window* Handle() const { return handle; }
    // The window is in front: it has the keyboard focus (followed from the window events).
    bool HasInputFocus() const { return inputFocus; }

    std::uint8_t closeRequested = 0;  // set by the close button, read and cleared by Game::Update

private:
    // True when the event is a claimed key press, or the character typed by one: the UI
    // must not see it.
    static bool KeptFromUi(const SDL_Event& event);
    static void HandleMessage(const SDL_Event& event);
    // SIGINT and SIGTERM raise Platform::QuitRequest while the window lives.
    void InstallQuitSignals();
    void RestoreQuitSignals();

    static constexpr std::array<int, 2> QuitSignals = {SIGINT, SIGTERM};
    std::array<struct sigaction, 2> previousHandlers{};
    std::array<bool, 2> installedHandlers{};

    SDL_Window* handle = nullptr;  // null when creation failed
    std::int32_t width = 0;        // client size asked for at construction
    std::int32_t height = 0;
    bool inputFocus = false;
    bool eventsStarted = false;    // this window holds references on SDL's event and video
    bool videoStarted = false;     // subsystems, given back when it goes
};

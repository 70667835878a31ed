// UiLayer: the one owner of Dear ImGui. The renderer starts it on its window and OpenGL
// context and shuts it down; in between it makes the UI context and font, feeds the SDL2
// and OpenGL3 back-ends, and starts and draws each UI frame. The window hands it every event.
// The UI is laid out in the fixed view's coordinates (1280 x 720) and drawn onto the window
// through the same letterbox as the world, with the mouse mapped back through it. The editor
// and its widgets only draw windows between BeginFrame and Render.
#pragma once

#include "platform/Letterbox.h"

union SDL_Event;
struct SDL_Window;

namespace Platform {

class UiLayer {
public:
    UiLayer() = default;
    ~UiLayer();  // shuts down when still started

    UiLayer(const UiLayer&) = delete;
    UiLayer& operator=(const UiLayer&) = delete;

    // Makes the context and the default font and starts both back-ends for this window and
    // its current OpenGL context; the view is viewWidth x viewHeight. Only one layer runs at a time.
    bool Start(SDL_Window* window, void* glContext, int viewWidth, int viewHeight);
    // Shuts the back-ends down and destroys the context; nothing of the UI is left.
    void Shutdown();

    // The started layer, or null: the window's pump hands events to it.
    static UiLayer* Active();

    // One SDL event, before the game sees it.
    void ProcessEvent(const SDL_Event& event);
    // Whether the UI holds the keyboard: the window then keeps keys from the game.
    bool WantsKeyboard() const;

    // Starts the UI frame: display size = the view, mouse in view coordinates.
    void BeginFrame();
    // Ends the UI frame and draws it onto the window's default framebuffer.
    void Render();

    // The mouse cursor: shown (and shaped by the UI) or hidden. Works with or without a
    // started layer; the game update calls it every frame.
    static void SetCursorVisible(bool visible);

    // Where the view lies on the window now.
    Letterbox CurrentLetterbox() const;
    // A window position (SDL's window coordinates) in view coordinates.
    void WindowToView(int windowX, int windowY, float& viewX, float& viewY) const;

private:
    SDL_Window* window = nullptr;
    int viewWidth = 0;
    int viewHeight = 0;
    bool started = false;
    bool frameStarted = false;
    bool mouseInWindow = false;  // the last mouse event's position is mouseX, mouseY (view units)
    float mouseX = 0.0f;
    float mouseY = 0.0f;
};

}  // namespace Platform

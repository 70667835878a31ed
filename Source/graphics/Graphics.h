// Graphics: the renderer, a member of Game. It owns the OpenGL context of the game window,
// the shaders, meshes and textures, draws every sprite and particle each frame, and runs
// the Dear ImGui SDL2 and OpenGL3 back-ends for the editor's UI.
#pragma once

struct SDL_Window;

class Graphics {
public:
    explicit Graphics(SDL_Window* window);
    ~Graphics();

    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    void NewUiFrame();  // starts the editor UI frame (both back-ends, then ImGui)
    void Render();      // clears and draws the world
    void RenderUi();    // draws the editor UI over the frame
    void Present();     // shows the frame without waiting for the vertical blank

    bool IsReady() const { return ready; }

private:
    SDL_Window* window = nullptr;
    void* context = nullptr;  // SDL_GLContext
    bool ready = false;       // every start-up step succeeded; nothing is drawn otherwise
};

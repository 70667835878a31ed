// BenchWindow: what the renderer's benchmarks start with: a temporary HOME for the log, the
// offscreen video driver, and a hidden 1280 x 720 window asking for an OpenGL 3.3 core
// context with depth, as the game's window does. Gone again with the object.
// DrawGameFrame is the renderer's part of one frame of the game loop.
#pragma once

#include "core/Log.h"
#include "graphics/Graphics.h"

#include <epoxy/gl.h>

#include <SDL.h>

#include <cstdlib>
#include <filesystem>

class BenchWindow {
public:
    explicit BenchWindow(const char* homeName) : home(std::filesystem::temp_directory_path() / homeName)
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("HOME", home.c_str(), 1);
        InitializeLogging();
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);  // nothing draws with a stencil
        window = SDL_CreateWindow("Project Vantrel", 0, 0, 1280, 720, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    }

    ~BenchWindow()
    {
        SDL_DestroyWindow(window);
        SDL_Quit();
        std::filesystem::remove_all(home);
    }

    BenchWindow(const BenchWindow&) = delete;
    BenchWindow& operator=(const BenchWindow&) = delete;

    // The game's resources folder.
    static std::filesystem::path Resources() { return std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources"; }

    std::filesystem::path home;
    SDL_Window* window = nullptr;
};

// What Game::Run asks of the renderer each frame: the UI frame, the world, the UI over it
// and the swap, finished on the rasteriser's threads so that their work counts to the frame.
inline void DrawGameFrame(Graphics& graphics)
{
    graphics.NewUiFrame();
    graphics.Render();
    graphics.RenderUi();
    graphics.Present();
    glFinish();
}

#include "graphics/Graphics.h"

#include "core/Log.h"

#include <SDL.h>
#include <epoxy/gl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

namespace {

// The quit event ends the frame loop at its next pump, as a failed start-up must.
void PostQuit()
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace

Graphics::Graphics(SDL_Window* gameWindow) : window(gameWindow)
{
    LogInfo("Initializing Graphics...");
    context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        LogError("Failed to initialize device and swap chain!");
        LogError("Failed to initialize swap chain and/or device!");
        if (window != nullptr)
            LogError("SDL: {}", SDL_GetError());
        LogError("Failed to initialize Graphics!");
        PostQuit();
        return;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);  // presenting never waits for the vertical blank

    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    glViewport(0, 0, width, height);

    ImGui_ImplSDL2_InitForOpenGL(window, context);
    ImGui_ImplOpenGL3_Init("#version 330 core");
    ready = true;
    LogInfo("Graphics Initialized");
}

Graphics::~Graphics()
{
    if (ready) {
        ImGui_ImplOpenGL3_Shutdown();
        ImGui_ImplSDL2_Shutdown();
        ImGui::DestroyContext();
    }
    if (context != nullptr)
        SDL_GL_DeleteContext(context);
}

void Graphics::NewUiFrame()
{
    if (!ready)
        return;
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGui::NewFrame();
}

void Graphics::Render()
{
    if (!ready)
        return;
    glClearColor(0.6f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void Graphics::RenderUi()
{
    if (!ready)
        return;
    ImGui::Render();
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}

void Graphics::Present()
{
    if (!ready)
        return;
    SDL_GL_SwapWindow(window);
}

#include "EditorOnScreen.h"

#include "TestSupport.h"
#include "core/FrameTime.h"
#include "core/Log.h"
#include "editor/Editor.h"
#include "platform/Window.h"

#include <SDL.h>
#include <imgui.h>
#include <stb/stb_image_write.h>

namespace EditorTest {

void EditorOnScreen::Open(int windowWidth, int windowHeight)
{
    InitializeLogging();
    window = TestSupport::OpenRenderWindow(windowWidth, windowHeight);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    graphics = std::make_unique<Graphics>(window);
    ASSERT_TRUE(graphics->IsReady());
    ImGui::GetIO().IniFilename = nullptr;  // no layout file in the repository
    FrameDeltaTime = 1.0f / 60.0f;
}

void EditorOnScreen::TearDown()
{
    graphics.reset();
    if (window != nullptr)
        SDL_DestroyWindow(window);
    SDL_Quit();
}

std::vector<Rgba> EditorOnScreen::Frame()
{
    Window::PumpMessages();
    graphics->NewUiFrame();
    Engine::Editor::Instance().RunFrame();
    graphics->Render();
    graphics->RenderUi();
    pixels = TestSupport::ReadDrawable(window, width, height);
    graphics->Present();
    return pixels;
}

void EditorOnScreen::MoveMouse(int x, int y)
{
    mouseX = x;
    mouseY = y;
    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(window);
    motion.motion.x = x;
    motion.motion.y = y;
    SDL_PushEvent(&motion);
}

void EditorOnScreen::Button(bool down)
{
    SDL_Event button{};
    button.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    button.button.windowID = SDL_GetWindowID(window);
    button.button.button = SDL_BUTTON_LEFT;
    button.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    button.button.clicks = 1;
    button.button.x = mouseX;
    button.button.y = mouseY;
    SDL_PushEvent(&button);
}

Rgba EditorOnScreen::At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }

void EditorOnScreen::WritePng(const std::filesystem::path& path) const
{
    stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4);
}

}  // namespace EditorTest

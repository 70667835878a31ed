#include "graphics/Graphics.h"

// Bodies are filled in with the renderer's own work.
Graphics::Graphics(SDL_Window* gameWindow) : window(gameWindow) {}
Graphics::~Graphics() = default;
void Graphics::NewUiFrame() {}
void Graphics::Render() {}
void Graphics::RenderUi() {}
void Graphics::Present() {}

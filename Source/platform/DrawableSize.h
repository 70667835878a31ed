// The size in pixels of what a window really shows, for the renderer's letterbox and the UI
// layer. On X11 without a window manager, a full-screen request goes unanswered while SDL
// already reports the screen's size, so the window's own geometry is asked for there.
#pragma once

struct SDL_Window;

namespace Platform {

void DrawableSize(SDL_Window* window, int& width, int& height);

}  // namespace Platform

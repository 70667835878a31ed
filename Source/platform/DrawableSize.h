// The size of what a window really shows, for the renderer's letterbox and the UI layer's
// drawing and mouse. On X11 without a window manager, a full-screen request goes unanswered
// while SDL already reports the screen's size, so the window's own geometry is asked for there.
#pragma once

struct SDL_Window;

namespace Platform {

// In pixels: what the letterbox is fitted to.
void DrawableSize(SDL_Window* window, int& width, int& height);

// In points: what mouse positions are measured in (more pixels than points on HiDPI).
void WindowPointSize(SDL_Window* window, int& width, int& height);

}  // namespace Platform

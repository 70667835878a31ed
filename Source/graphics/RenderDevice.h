// RenderDevice: the renderer's OpenGL context on the game window, the fixed-size target the
// world is drawn into, the letterbox that scales that target onto the window, presenting and
// the full-screen state. Graphics makes it as its first start-up step.
#pragma once

#include <cstdint>

struct SDL_Window;

class RenderDevice {
public:
    SDL_Window* window = nullptr;
    void* context = nullptr;  // SDL_GLContext
    // The world is drawn into renderTarget at the camera's start-up size and scaled onto the
    // window's drawable when the frame is done, as the display scales a full-screen mode.
    unsigned int renderTarget = 0;        // framebuffer
    unsigned int colorBuffer = 0;         // renderbuffer, RGBA8
    unsigned int depthStencilBuffer = 0;  // renderbuffer, 24-bit depth + 8-bit stencil
    int targetWidth = 0;
    int targetHeight = 0;
    std::uint32_t uniformOffsetAlignment = 16;  // offsets of bound uniform ranges are multiples of this

    // Makes the context (OpenGL 3.3 core) on the window, enters full screen and makes the
    // target of width x height; logs the failing part and answers false.
    bool Create(SDL_Window* gameWindow, int width, int height);
    // Deletes the target and the context.
    void Release();

    // Draws go to the target from here on.
    void BindTarget() const;
    // Scales the finished target onto the window's default framebuffer, black bars around it.
    void ShowTargetOnWindow() const;
    void Present() const;

    bool IsFullScreen() const;
    void SetFullScreen(bool fullScreen) const;

private:
    bool CreateTarget(int width, int height);
};

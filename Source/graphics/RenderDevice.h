// RenderDevice: the renderer's OpenGL context on the game window, the fixed-size target the
// world is drawn into when the window's drawable has another size, the letterbox that scales
// that target onto the window, presenting and the full-screen state. Graphics makes it as its
// first start-up step.
#pragma once

#include "graphics/LetterboxCopy.h"

#include <cstdint>

struct SDL_Window;

class RenderDevice {
public:
    SDL_Window* window = nullptr;
    void* context = nullptr;  // SDL_GLContext
    // The world is drawn at the camera's start-up size. A drawable of that size takes it
    // directly; any other is given renderTarget's picture scaled to fit when the frame is
    // done, as the display scales a full-screen mode.
    unsigned int renderTarget = 0;        // framebuffer
    unsigned int colorTexture = 0;        // RGBA8, filtered linearly when shown on the window
    unsigned int depthStencilBuffer = 0;  // renderbuffer, 24-bit depth; nothing draws with a stencil
    int targetWidth = 0;
    int targetHeight = 0;
    std::uint32_t uniformOffsetAlignment = 16;  // offsets of bound uniform ranges are multiples of this

    // Makes the context (OpenGL 3.3 core) on the window, enters full screen and makes the
    // target of width x height; logs the failing part and answers false.
    bool Create(SDL_Window* gameWindow, int width, int height);
    // Deletes the target and the context.
    void Release();

    // Draws go to the frame's framebuffer from here on: the window's own while its drawable
    // has the target's size, renderTarget otherwise. Clears what the world is drawn over.
    void BeginWorld(const float clearColour[3]);
    // The framebuffer the last frame's world was drawn into (0: the window's).
    unsigned int WorldFramebuffer() const { return worldFramebuffer; }
    // Shows the finished world on the window: nothing to do when it was drawn there, else the
    // target scaled to fit, black bars around it.
    void ShowTargetOnWindow() const;
    void Present() const;

    bool IsFullScreen() const;
    void SetFullScreen(bool fullScreen) const;

private:
    bool CreateTarget(int width, int height);
    // The buffers glClear must name for a whole-buffer clear of this framebuffer: a depth
    // buffer that shares its words with a stencil is cleared with it, which is a plain fill
    // where clearing the depth alone would keep every stencil byte.
    static unsigned int ClearBits(unsigned int framebuffer);

    LetterboxCopy letterbox;
    unsigned int worldFramebuffer = 0;
    int drawableWidth = 0;  // the window's real size, asked for once a frame by BeginWorld
    int drawableHeight = 0;
    unsigned int windowClearBits = 0;  // of the window's framebuffer, learnt at start-up
    unsigned int targetClearBits = 0;
};

#include "graphics/RenderDevice.h"

#include "core/Log.h"
#include "graphics/GlSupport.h"
#include "platform/DrawableSize.h"
#include "platform/Letterbox.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <algorithm>

namespace {

// Direct3D's device defaults, which the sprite pass relies on: back faces culled with
// clockwise triangles in front, depth test "less" with writes on.
void SetPipelineDefaults()
{
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CW);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

bool RenderDevice::Create(SDL_Window* gameWindow, int width, int height)
{
    window = gameWindow;
    // The window was made with SDL_WINDOW_OPENGL and the 3.3 core and 24-bit depth
    // attributes; the context inherits them.
    context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        LogError("OpenGL 3.3 core context could not be made: {}", window != nullptr ? SDL_GetError() : "no window");
        LogError("Failed to initialize device and swap chain!");
        return false;
    }
    if (epoxy_gl_version() < 33) {
        LogError("OpenGL {}.{} is too old: 3.3 is needed", epoxy_gl_version() / 10, epoxy_gl_version() % 10);
        LogError("Failed to initialize device and swap chain!");
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);  // present without waiting for the vertical blank
    SetFullScreen(true);        // the game starts in full screen
    SetPipelineDefaults();
    GLint alignment = 16;
    glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
    uniformOffsetAlignment = static_cast<std::uint32_t>(std::max(alignment, 1));
    windowClearBits = ClearBits(0);
    return CreateTarget(width, height);
}

unsigned int RenderDevice::ClearBits(unsigned int framebuffer)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum stencil = framebuffer == 0 ? GL_STENCIL : GL_STENCIL_ATTACHMENT;
    GLint stencilBits = 0;
    GLint stencilType = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, stencil, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &stencilType);
    if (stencilType != GL_NONE)
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, stencil, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE, &stencilBits);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | (stencilBits > 0 ? GL_STENCIL_BUFFER_BIT : 0u);
}

bool RenderDevice::CreateTarget(int width, int height)
{
    targetWidth = width;
    targetHeight = height;
    Render::NoGlError();
    glGenFramebuffers(1, &renderTarget);
    glBindFramebuffer(GL_FRAMEBUFFER, renderTarget);
    glGenTextures(1, &colorTexture);
    glBindTexture(GL_TEXTURE_2D, colorTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, targetWidth, targetHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colorTexture, 0);

    glGenRenderbuffers(1, &depthStencilBuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencilBuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, targetWidth, targetHeight);
    if (!Render::NoGlError() || targetWidth <= 0 || targetHeight <= 0) {
        LogError("Depth buffer of {} x {} could not be made", targetWidth, targetHeight);
        LogError("Failed to initialize depth buffer!");
        return false;
    }
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthStencilBuffer);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE || !Render::NoGlError()) {
        LogError("Failed to initialize depth stencil view!");
        return false;
    }
    targetClearBits = ClearBits(renderTarget);
    // Without its program the target is still shown, by the driver's blit.
    letterbox.Create();
    return true;
}

void RenderDevice::Release()
{
    if (context == nullptr)
        return;
    letterbox.Release();
    glDeleteRenderbuffers(1, &depthStencilBuffer);
    glDeleteTextures(1, &colorTexture);
    glDeleteFramebuffers(1, &renderTarget);
    depthStencilBuffer = colorTexture = renderTarget = 0;
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
}

void RenderDevice::BeginWorld(const float clearColour[3])
{
    Platform::DrawableSize(window, drawableWidth, drawableHeight);
    // Drawn straight onto the window whenever it can be: the picture is the same, and a copy
    // of every pixel per frame is saved.
    const bool onWindow = drawableWidth == targetWidth && drawableHeight == targetHeight;
    worldFramebuffer = onWindow ? 0 : renderTarget;
    glBindFramebuffer(GL_FRAMEBUFFER, worldFramebuffer);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], 1.0f);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(onWindow ? windowClearBits : targetClearBits);
}

void RenderDevice::ShowTargetOnWindow() const
{
    if (worldFramebuffer == 0)
        return;  // drawn there already
    const Platform::Letterbox box = Platform::Letterbox::Fit(drawableWidth, drawableHeight, targetWidth, targetHeight);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (box.width > 0 && box.height > 0) {
        // Scaled to fit, keeping the target's aspect; black bars fill the rest of the window.
        const int bottom = box.BottomFromBelow(drawableHeight);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // The same pixels as the driver's linear blit, without the shaders that Mesa's
        // software rasteriser compiles afresh for a blit in every run.
        if (letterbox.IsReady()) {
            letterbox.Draw(colorTexture, box.left, bottom, box.width, box.height);
        } else {
            glBindFramebuffer(GL_READ_FRAMEBUFFER, renderTarget);
            glBlitFramebuffer(0, 0, targetWidth, targetHeight, box.left, bottom, box.left + box.width,
                              bottom + box.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        }
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void RenderDevice::Present() const { SDL_GL_SwapWindow(window); }

bool RenderDevice::IsFullScreen() const
{
    return window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void RenderDevice::SetFullScreen(bool fullScreen) const
{
    if (window == nullptr)
        return;
    if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        LogWarn("Full-screen mode could not be {}: {}", fullScreen ? "entered" : "left", SDL_GetError());
}

#include "platform/DrawableSize.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

namespace Platform {

void DrawableSize(SDL_Window* window, int& width, int& height)
{
    SDL_GL_GetDrawableSize(window, &width, &height);
#if defined(SDL_VIDEO_DRIVER_X11)
    const char* driver = SDL_GetCurrentVideoDriver();
    if (window == nullptr || driver == nullptr || std::strcmp(driver, "x11") != 0)
        return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return;
    // X11 has no scaled points: the window's own size is its pixels.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) != 0) {
        width = attributes.width;
        height = attributes.height;
    }
#endif
}

}  // namespace Platform

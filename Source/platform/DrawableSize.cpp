#include "platform/DrawableSize.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

namespace Platform {
namespace {

// The X window's own size, when the window is an X11 one; X11 has no scaled points, so it is
// both its pixels and its points.
bool XWindowSize(SDL_Window* window, int& width, int& height)
{
#if defined(SDL_VIDEO_DRIVER_X11)
    const char* driver = SDL_GetCurrentVideoDriver();
    if (window == nullptr || driver == nullptr || std::strcmp(driver, "x11") != 0)
        return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    ::Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int w = 0;
    unsigned int h = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    if (XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &w, &h, &border, &depth) == 0)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
#else
    (void)window;
    (void)width;
    (void)height;
    return false;
#endif
}

}  // namespace

void DrawableSize(SDL_Window* window, int& width, int& height)
{
    if (!XWindowSize(window, width, height))
        SDL_GL_GetDrawableSize(window, &width, &height);
}

void WindowPointSize(SDL_Window* window, int& width, int& height)
{
    if (!XWindowSize(window, width, height))
        SDL_GetWindowSize(window, &width, &height);
}

}  // namespace Platform

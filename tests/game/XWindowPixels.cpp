#include "XWindowPixels.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

namespace EndToEnd {

std::optional<XPicture> ReadXWindow(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    Display* display = info.info.x11.display;
    XSync(display, False);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0)
        return std::nullopt;
    XImage* image = XGetImage(display, info.info.x11.window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return std::nullopt;
    XPicture picture{attributes.width, attributes.height, {}};
    picture.pixels.reserve(static_cast<std::size_t>(picture.width * picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            picture.pixels.push_back({static_cast<int>((pixel & image->red_mask) >> 16),
                                      static_cast<int>((pixel & image->green_mask) >> 8),
                                      static_cast<int>(pixel & image->blue_mask)});
        }
    XDestroyImage(image);
    return picture;
}

}  // namespace EndToEnd

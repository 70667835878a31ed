// Reads a window's pixels back from the X server that shows it, for the tests that run the
// game on a real X screen. Kept apart: the X headers' macros clash with the game's names.
#pragma once

#include <array>
#include <optional>
#include <vector>

struct SDL_Window;

namespace EndToEnd {

struct XPicture {
    int width = 0;
    int height = 0;
    std::vector<std::array<int, 3>> pixels;  // red, green, blue; top row first
    const std::array<int, 3>& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// What the X server holds for the window, at the window's own size; nothing when the window
// is not an X11 one.
std::optional<XPicture> ReadXWindow(SDL_Window* window);

}  // namespace EndToEnd

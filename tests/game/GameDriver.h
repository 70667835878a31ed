// The real game started headless for the end-to-end tests and the screenshot and recording
// commands: Game on a simulated clock (every frame exactly 1/60 s, timers and enemy shots
// on the same clock), driven one frame at a time with key presses as SDL sends them, and
// frames read back from the renderer.
#pragma once

#include "core/Game.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>
#include <filesystem>
#include <memory>
#include <string>

namespace EndToEnd {

class GameDriver {
public:
    GameDriver();
    ~GameDriver();

    // Runs whole frames of the game's own loop.
    void Frames(int count = 1);
    // As Frames, but each loop is ended by its frame's sleep instead of a quit event, so
    // that the frames log only what the game itself logs.
    void QuietFrames(int count);
    // Key events, seen by the game at the start of the next frame.
    void Down(SDL_Keycode key);
    void Up(SDL_Keycode key);
    // Down, one frame, up, one frame.
    void Tap(SDL_Keycode key);
    // A quick tap: down and up both before the next frame, then one frame.
    void QuickTap(SDL_Keycode key);
    // Mouse events at a window pixel (the left or the right button), seen at the next frame.
    void MoveMouse(int x, int y);
    void MouseButton(bool left, bool down);
    // Mouse-wheel notches, positive away from the user.
    void Wheel(int notches);
    // Runs frames until the test holds or the count runs out; whether it held.
    bool FramesUntil(const std::function<bool()>& done, int most);

    // The last frame drawn, as a PNG.
    void Screenshot(const std::filesystem::path& path) const;
    // The world picture of the last frame (the renderer's target, without the UI), top row first.
    std::vector<std::array<std::uint8_t, 4>> WorldPixels(int& width, int& height) const;

    Game& game() { return *instance; }
    std::int64_t frame = 0;  // frames run so far

private:
    int mouseX = 0;
    int mouseY = 0;
    std::int64_t now = 5'000'000'000;  // simulated steady-clock nanoseconds
    bool endBySleep = false;
    std::unique_ptr<Game> instance;
};

// The game's log file and its error lines.
std::string LogText();
std::vector<std::string> ErrorLines();

}  // namespace EndToEnd

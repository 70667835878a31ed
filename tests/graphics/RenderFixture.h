// Offscreen rendering for the graphics tests: an SDL window with an OpenGL 3.3 core context
// (the offscreen video driver renders through EGL), a folder of small images the test
// writes, the game's shaders, and pixel read-back from the renderer's target.
#pragma once

#include "graphics/Graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;

namespace RenderTest {

using Rgba = std::array<std::uint8_t, 4>;

inline constexpr Rgba ClearColour = {153, 255, 255, 255};  // (0.6, 1.0, 1.0)

// A PNG of width x height pixels of one colour.
void WritePng(const std::filesystem::path& path, int width, int height, Rgba colour);
// A PNG whose pixel (x, y), top row first, is colourAt(x, y).
void WritePng(const std::filesystem::path& path, int width, int height, Rgba (*colourAt)(int x, int y));

std::filesystem::path GameShaderFolder();

// Expects the colour channels (not alpha) within 2 of the expected ones.
void ExpectColour(const Rgba& actual, const Rgba& expected, const char* where);

// The error lines of the log so far, without their time and level prefix, oldest first.
std::vector<std::string> ErrorLines();
// Whether the quit message is queued (it is taken off the queue).
bool QuitQueued();

class RenderFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

public:
    // Starts the renderer on the test's window with these folders.
    void StartGraphics(const std::filesystem::path& shaders, const std::filesystem::path& images);
    void StartGraphics() { StartGraphics(GameShaderFolder(), imageFolder); }

    // One frame of the world into the renderer's target.
    void RenderFrame();
    // The target's pixel under a world point, with the camera's start values (eye at 0, 0,
    // view 1280 x 720: one world unit per pixel).
    Rgba PixelAtWorld(float x, float y);
    // The whole world frame as drawn (before the UI), RGBA rows from the bottom.
    std::vector<std::uint8_t> ReadWorldFrame();

    // The test's window closed and opened again at this size, before the renderer starts.
    void ReopenWindow(int width, int height);
    // The window's default framebuffer as drawn so far this frame (before presenting),
    // row by row from the top, width x height pixels of the drawable.
    std::vector<Rgba> ReadWindow(int& width, int& height);

    // A game object with a Transform and a Sprite; returns its id.
    std::uint32_t AddSprite(float x, float y, float z, float scaleX, float scaleY, const std::string& texture,
                            Rgba colour = {255, 255, 255, 255}, int mesh = 0);

    std::filesystem::path imageFolder;  // empty, in the test's temporary home
    SDL_Window* window = nullptr;
    std::unique_ptr<Graphics> graphics;
};

}  // namespace RenderTest

// The editor drawn for real: a hidden SDL window of a chosen size with the game's renderer
// (its shaders and images) and UI layer on it, frames of world and editor read back before
// they are presented, and mouse events pushed through the window's own message pump.
#pragma once

#include "graphics/Graphics.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

struct SDL_Window;

namespace EditorTest {

using Rgba = std::array<std::uint8_t, 4>;

class EditorOnScreen : public ::testing::Test {
protected:
    void TearDown() override;

    // Opens the window (the renderer makes it full screen) and starts the renderer and the UI.
    void Open(int width, int height);
    // One frame: the editor's frame inside the UI frame, the world, the UI; the pixels read
    // back before presenting, top row first.
    std::vector<Rgba> Frame();
    // Mouse events at a window pixel, handled by the message pump before the next frame.
    void MoveMouse(int x, int y);
    void Button(bool down);
    // The pixel of the last frame at a window position.
    Rgba At(int x, int y) const;
    // Writes the last frame as a PNG.
    void WritePng(const std::filesystem::path& path) const;

    SDL_Window* window = nullptr;
    std::unique_ptr<Graphics> graphics;
    std::vector<Rgba> pixels;
    int width = 0;
    int height = 0;
    int mouseX = 0;
    int mouseY = 0;
};

}  // namespace EditorTest

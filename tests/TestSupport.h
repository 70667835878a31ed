// Helpers shared by the test executables: the per-process temporary home folder
// and small utilities for reading files that the engine writes.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct SDL_Window;

namespace TestSupport {

// The temporary folder that HOME points at for this test process.
const std::filesystem::path& TemporaryHome();

// The whole text of a file, or an empty string when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// Writes text to a file, creating its folders.
void WriteFile(const std::filesystem::path& path, const std::string& text);

// Starts SDL's video and opens a hidden window of width x height with the OpenGL 3.3 core,
// depth and stencil attributes the renderer needs; null (with SDL's error) on failure.
SDL_Window* OpenRenderWindow(int width, int height);

// The window's default framebuffer as drawn so far this frame (before presenting), row by row
// from the top, width x height RGBA pixels of the drawable.
std::vector<std::array<std::uint8_t, 4>> ReadDrawable(SDL_Window* window, int& width, int& height);

}  // namespace TestSupport

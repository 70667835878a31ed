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

// Makes a working folder for this test process (under its temporary home) whose Resources/
// holds copies of the game's levels and of `scripts` (the game's own scripts when empty) and
// links to its other resource folders, and moves into it, so that saved scripts and levels
// never reach the repository. Call it before the game or editor is made; returns the folder.
std::filesystem::path UseScratchGameFolder(const std::filesystem::path& scripts = {});

// Starts SDL's video and opens a hidden window of width x height with the OpenGL 3.3 core,
// depth and stencil attributes the renderer needs; null (with SDL's error) on failure.
SDL_Window* OpenRenderWindow(int width, int height);

// The window's default framebuffer as drawn so far this frame (before presenting), row by row
// from the top, width x height RGBA pixels of the drawable.
std::vector<std::array<std::uint8_t, 4>> ReadDrawable(SDL_Window* window, int& width, int& height);

}  // namespace TestSupport

// Small helpers the renderer's parts share: draining OpenGL's error flags around a step,
// and reading a shader or image file whole.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

namespace Render {

// Clears every pending OpenGL error flag; true when there was none.
bool NoGlError();

// The whole file as bytes; nothing when it cannot be opened or read (a folder, for one).
std::optional<std::vector<char>> ReadWholeFile(const std::filesystem::path& path);

}  // namespace Render

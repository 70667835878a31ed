// Small helpers the renderer's parts share: draining OpenGL's error flags around a step,
// compiling and linking shaders, and reading a shader or image file whole.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace Render {

// Clears every pending OpenGL error flag; true when there was none.
bool NoGlError();

// One shader stage compiled from length bytes of text (a negative length: up to its NUL); 0
// when it does not compile, with the driver's reason in why.
unsigned int CompileShaderStage(unsigned int stage, const char* text, int length, std::string& why);
// Links program; false when it does not link, with the driver's reason in why.
bool LinkShaderProgram(unsigned int program, std::string& why);

// The whole file as bytes; nothing when it cannot be opened or read (a folder, for one).
std::optional<std::vector<char>> ReadWholeFile(const std::filesystem::path& path);

}  // namespace Render

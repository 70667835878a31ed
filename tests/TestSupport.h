// Helpers shared by the test executables: the per-process temporary home folder
// and small utilities for reading files that the engine writes.
#pragma once

#include <filesystem>
#include <string>

namespace TestSupport {

// The temporary folder that HOME points at for this test process.
const std::filesystem::path& TemporaryHome();

// The whole text of a file, or an empty string when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);

// Writes text to a file, creating its folders.
void WriteFile(const std::filesystem::path& path, const std::string& text);

}  // namespace TestSupport

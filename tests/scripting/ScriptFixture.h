// Test support for the scripting tests: a temporary game folder holding
// Resources/Scripts/ copied from a fixture folder (the process works inside it while the
// fixture lives), the log lines the engine writes, and a Report function for scripts.
#pragma once

#include "scripting/LuaState.h"

#include <spdlog/common.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace ScriptTest {

struct LogLine {
    spdlog::level::level_enum level;
    std::string text;
};

// What scripts passed to Report(text), in call order.
std::vector<std::string>& Reports();

// Puts Report(text: string) into the state's global table.
void AddReportFunction(Engine::LuaState& lua);

class ScriptFolder {
public:
    // Copies the named fixture folders (under tests/scripting/fixtures/) into one
    // Resources/Scripts/ of a new game folder and makes that the working directory.
    explicit ScriptFolder(std::initializer_list<const char*> fixtures);
    ~ScriptFolder();

    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;

    // Writes (or replaces) one script of the folder.
    void Write(const std::string& fileName, const std::string& text) const;

    // Every line logged since the folder was made.
    const std::vector<LogLine>& Lines() const;
    bool Logged(spdlog::level::level_enum level, const std::string& text) const;
    // How many lines of that level and text were logged.
    int Count(spdlog::level::level_enum level, const std::string& text) const;

    std::filesystem::path root;

private:
    std::filesystem::path previousDirectory;
};

}  // namespace ScriptTest

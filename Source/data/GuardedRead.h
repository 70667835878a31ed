// The steps every reader of the game's JSON files shares: open and parse a file with the
// game's own line for a missing one, and run a read under the rule for malformed files (one
// error line, and the read stops there). The level, archetype and animation readers use them.
#pragma once

#include "core/Log.h"
#include "data/JsonReader.h"

#include <filesystem>

namespace Engine {

// Runs one read or edit of a file's document; a fault in the file ends it with one error line.
// Nothing else is caught: the engine's own failures are not format errors.
template <typename Work>
bool Guarded(const JsonReader& reader, Work&& work)
{
    try {
        work();
        return true;
    } catch (const FormatError& error) {
        LogError(error.what());
    } catch (const nlohmann::json::exception& error) {
        LogError("Could not read {}: {}", reader.FileName(), error.what());
    }
    return false;
}

// Opens and parses one of the game's files; a missing file is logged with `missingLine`.
bool ReadDocument(const std::filesystem::path& path, const char* missingLine, JsonReader& reader,
                  nlohmann::json& document);

}  // namespace Engine

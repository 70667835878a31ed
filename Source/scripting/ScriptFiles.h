// Engine::ScriptFiles: where the game's scripts live, and the only files a script may read.
// The script manager lists the folder; the scripts' dofile, loadfile and require
// (LuaLibraryLimits) turn the names they are given into paths through PathOf.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Engine {

struct ScriptFiles {
    static constexpr const char* Folder = "Resources/Scripts/";

    // The path inside the folder of a name relative to it; nothing for a name that could
    // reach outside it: empty, absolute, holding a ".." part or a NUL byte.
    static std::optional<std::string> PathOf(std::string_view name);
};

}  // namespace Engine

// Engine::LevelWriter: writes the text of a level file from the level's entries (those of
// Engine::LevelBaseline), one per object, in byte order of their keys.
// Engine::LevelManager::SaveLevel stores it.
#pragma once

#include "data/LevelBaseline.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine {

class LevelWriter {
public:
    // The JSON library's text of the whole document, indented by 4, without a newline after
    // the closing brace; no entries give the literal null. The entries come in id order; each
    // is keyed by its name, the live object the camera follows by "APlayer".
    static std::string Text(const std::vector<LevelBaseline::SavedEntry>& entries, std::int32_t followedObjectId);

    // The entry key of a later object whose name is already taken: the name, a blank and a
    // five-digit count, which sorts after the name itself and keeps same-named objects in
    // their id order. Readers do not interpret keys, so such entries load like any other.
    static std::string NumberedKey(const std::string& name, std::uint32_t count);
};

}  // namespace Engine

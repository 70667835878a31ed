// Engine::LevelWriter: writes the text of a level file from the live world, one entry per
// object, entries in byte order of their keys. Engine::LevelManager::SaveLevel stores it.
#pragma once

#include <cstdint>
#include <string>

namespace Engine {

class LevelWriter {
public:
    // The JSON library's text of the whole document, indented by 4, without a newline after
    // the closing brace; an empty world gives the literal null. Objects without components
    // still get an entry holding "Handle".
    static std::string Text(std::int32_t followedObjectId);

    // The entry key of a later object whose name is already taken: the name, a blank and a
    // five-digit count, which sorts after the name itself and keeps same-named objects in
    // their id order. Readers do not interpret keys, so such entries load like any other.
    static std::string NumberedKey(const std::string& name, std::uint32_t count);
};

}  // namespace Engine

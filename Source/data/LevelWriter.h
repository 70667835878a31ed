// Engine::LevelWriter: builds the document of a level file from the live world, one entry per
// object in id order. Engine::LevelManager::SaveLevel writes what it builds.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace Engine {

class LevelWriter {
public:
    // Objects without components still get an entry; an empty world gives the literal null.
    static nlohmann::json BuildDocument(std::int32_t followedObjectId);

    // The entry key of a later object whose name is already taken: the name, a blank and a
    // five-digit count, which sorts after the name itself and keeps same-named objects in
    // their id order. Readers do not interpret keys, so such entries load like any other.
    static std::string NumberedKey(const std::string& name, std::uint32_t count);
};

}  // namespace Engine

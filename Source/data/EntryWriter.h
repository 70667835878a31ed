// Engine::EntryWriter: writes the components of a live object into an entry of a level or
// archetype file, every scalar as a one-item array ("Color" members plain, "Events" as
// handler items). Used by the level writer and by SaveArchetype of Engine::LevelManager.
#pragma once

#include "data/EntrySnapshot.h"

#include <nlohmann/json.hpp>

#include <cstdint>

namespace Engine {

class EntryWriter {
public:
    using Json = nlohmann::json;

    enum class Checkpoints { Written, Skipped };

    // Writes member by member into `entry`, so members the object does not write stay as
    // they were (an archetype saved over its older entry). HeatMap is never written; an
    // event set without handlers writes nothing.
    static void WriteComponents(Json& entry, std::uint32_t objectId, Checkpoints checkpoints);
    static void WriteComponents(Json& entry, const EntrySnapshot& object, Checkpoints checkpoints);
};

}  // namespace Engine

// Engine::EntrySnapshot: what a level entry stores of one live object (its name and the stored
// fields of its components), copied out of the component store. Engine::EntryWriter writes it,
// and Engine::LevelBaseline compares snapshots to tell which objects were edited without making
// any JSON.
#pragma once

#include "core/Checkpoint.h"
#include "core/EventSet.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Engine {

struct EntrySnapshot {
    // The object's name and copies of the components it has; an object id without an object
    // gives an empty name and no components.
    static EntrySnapshot Of(std::uint32_t objectId);

    // Equal in every stored field: the entries the writer makes of the two are the same.
    bool SameStoredFields(const EntrySnapshot& other) const;

    std::string name;
    std::optional<Transform> transform;
    std::optional<Sprite> sprite;
    std::optional<RigidBody> rigidBody;
    bool controller = false;
    std::optional<Parallax> parallax;
    std::optional<std::string> animationHandle;
    std::optional<EventSet> eventSet;
    std::optional<Checkpoint> checkpoint;
    std::optional<Range> range;
};

}  // namespace Engine

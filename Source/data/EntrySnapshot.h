// Engine::EntrySnapshot: what a level entry stores of one live object (its name and the stored
// fields of its components), copied out of the component store. Engine::EntryWriter writes it,
// and Engine::LevelBaseline compares snapshots to tell which objects were edited without making
// any JSON.
#pragma once

#include "core/ComponentFields.h"

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

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
    std::optional<Animation> animation;
    std::optional<EventSet> eventSet;
    std::optional<Checkpoint> checkpoint;
    std::optional<Range> range;

    // The copy of a component with stored fields or of the event set, by its type.
    template <typename T>
    const std::optional<T>& Copy() const
    {
        return CopyIn<T>(*this);
    }
    template <typename T>
    std::optional<T>& Copy()
    {
        return CopyIn<T>(*this);
    }

private:
    template <typename T, typename Self>
    static auto& CopyIn(Self& self)
    {
        if constexpr (std::is_same_v<T, Transform>)
            return self.transform;
        else if constexpr (std::is_same_v<T, Sprite>)
            return self.sprite;
        else if constexpr (std::is_same_v<T, RigidBody>)
            return self.rigidBody;
        else if constexpr (std::is_same_v<T, Parallax>)
            return self.parallax;
        else if constexpr (std::is_same_v<T, Animation>)
            return self.animation;
        else if constexpr (std::is_same_v<T, EventSet>)
            return self.eventSet;
        else if constexpr (std::is_same_v<T, Checkpoint>)
            return self.checkpoint;
        else {
            static_assert(std::is_same_v<T, Range>, "a component of EntryComponents besides the controller");
            return self.range;
        }
    }
};

}  // namespace Engine

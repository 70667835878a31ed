// Engine::Component: base of the ten component records. The store owns each component
// and deletes it through the virtual destructor; GetType returns the record's type tag.
#pragma once

#include <cstdint>

namespace Engine {

enum class ComponentType : std::int32_t {
    Transform = 0,
    Sprite = 1,
    RigidBody = 2,
    Controller = 3,
    EventSet = 4,
    Animation = 5,
    Parallax = 6,
    Checkpoint = 7,
    Range = 8,
    HeatMap = 9,
};

struct Component {
    virtual ~Component() = default;
    virtual ComponentType GetType() const = 0;

    std::uint32_t owner = 0;  // id of the game object that holds the component
};

}  // namespace Engine

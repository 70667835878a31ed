// Engine::Transform: Placement of an object in the world: position (y up, z is depth), scale and rotation in radians.
#pragma once

#include "core/Component.h"

#include <cstdint>

namespace Engine {

struct Transform : Component {
    static constexpr ComponentType Tag = ComponentType::Transform;
    static constexpr const char* DisplayName = "struct Engine::Transform";
    ComponentType GetType() const override { return Tag; }

    float x_pos = 0.0f;
    float y_pos = 0.0f;
    float z_pos = 0.0f;
    float x_sca = 1.0f;
    float y_sca = 1.0f;
    float rot = 0.0f;
};

}  // namespace Engine

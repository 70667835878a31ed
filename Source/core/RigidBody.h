// Engine::RigidBody: The collision box of an object, relative to its position (y up, top >= bottom), and how
// collisions treat it. Ghost bodies are detected and reported but never pushed out.
#pragma once

#include "core/Component.h"

#include <cstdint>

namespace Engine {

struct RigidBody : Component {
    static constexpr ComponentType Tag = ComponentType::RigidBody;
    static constexpr const char* DisplayName = "struct Engine::RigidBody";
    ComponentType GetType() const override { return Tag; }

    std::int32_t BodyType = 0;      // 0 Static, 1 Dynamic, 2 Kinematic
    std::int32_t ColliderType = 0;  // 0 Box, 1 Line
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    float Weight = 0.0f;  // edited and saved; no system reads it
    bool Ghost = false;
};

}  // namespace Engine

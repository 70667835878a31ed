// Engine::Checkpoint: The point where the player respawns.
#pragma once

#include "core/Component.h"

#include <cstdint>

namespace Engine {

struct Checkpoint : Component {
    static constexpr ComponentType Tag = ComponentType::Checkpoint;
    static constexpr const char* DisplayName = "struct Engine::Checkpoint";
    ComponentType GetType() const override { return Tag; }

    float x = 90.0f;
    float y = 900.0f;
};

}  // namespace Engine

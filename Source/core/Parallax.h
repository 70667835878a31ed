// Engine::Parallax: Marks a parallax layer: Level 1 "Foreground", 2 "Main", 3 "Background", 4 "Far Background";
// PosX and PosY are the layer's anchor. The parallax system divides by Level, so it is never 0.
#pragma once

#include "core/Component.h"

#include <cstdint>

namespace Engine {

struct Parallax : Component {
    static constexpr ComponentType Tag = ComponentType::Parallax;
    static constexpr const char* DisplayName = "struct Engine::Parallax";
    ComponentType GetType() const override { return Tag; }

    std::int32_t Level = 1;
    float PosX = 0.0f;
    float PosY = 0.0f;
};

}  // namespace Engine

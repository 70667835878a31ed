// Engine::Sprite: What the renderer draws for an object: the mesh, a colour that tints the texture
// (alpha 0 hides the object) and the image file name under Resources/Images/.
#pragma once

#include "core/Component.h"

#include <cstdint>
#include <string>

namespace Engine {

struct Sprite : Component {
    static constexpr ComponentType Tag = ComponentType::Sprite;
    static constexpr const char* DisplayName = "struct Engine::Sprite";
    ComponentType GetType() const override { return Tag; }

    std::int32_t MeshIndex = 0;  // 0 quad, 1 triangle, 2 disc, anything else the three-triangle mesh
    float Color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    std::string Texture;
};

}  // namespace Engine

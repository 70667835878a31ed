// Engine::ParallaxSystem (a system of the registry): places every parallax layer from the position
// of the followed object (the player) by its layer: layer n moves 1/n as far as the player and is
// drawn at depth n - 2. A layer's own Transform position is overwritten every frame.
#pragma once

#include "core/System.h"

namespace Engine {

class ParallaxSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    float camX = 0.0f;  // the followed object's position in this frame
    float camY = 0.0f;
};

}  // namespace Engine

// Engine::ParallaxSystem (a system of the registry): Moves the parallax layers with the camera by their depth level.
#pragma once

#include "core/System.h"

namespace Engine {

class ParallaxSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

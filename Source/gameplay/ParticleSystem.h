// Engine::ParticleSystem (a system of the registry): Spawns, moves and removes particles of the emitters and the player trail.
#pragma once

#include "core/System.h"

namespace Engine {

class ParticleSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

// Engine::CollisionUpdate (a system of the registry): Finds overlapping rigid bodies at their predicted positions and raises their collision events.
#pragma once

#include "core/System.h"

namespace Engine {

class CollisionUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

// Engine::CollisionResolution (a system of the registry): Pushes dynamic bodies out of what they hit and raises the side events.
#pragma once

#include "core/System.h"

namespace Engine {

class CollisionResolution : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

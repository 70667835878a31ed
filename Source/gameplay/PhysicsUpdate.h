// Engine::PhysicsUpdate (the first system of the frame): turns each Controller's velocity and
// constant acceleration into the position predicted for the end of the frame, which collision
// detection tests, resolution corrects and PositionUpdate commits.
#pragma once

#include "core/System.h"

namespace Engine {

class PhysicsUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

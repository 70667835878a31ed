// Engine::PhysicsUpdate (a system of the registry): Turns each controller's velocity and acceleration into a predicted position.
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

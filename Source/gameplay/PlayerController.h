// Engine::PlayerController (a system of the registry): Binds the player's keys and queues the movement and skill scripts.
#pragma once

#include "core/System.h"

namespace Engine {

class PlayerController : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

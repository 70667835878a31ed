// Engine::PlayerController (a system of the registry): binds the player's movement and skill keys
// at start-up and, every frame, runs the bindings of the held keys; each binding only queues its
// action script ("RunLeft", "Jump", ...) for object 0. A dead player's K and L skills are unbound
// and the player is stopped; they are bound again when the player lives again.
#pragma once

#include "core/System.h"

namespace Engine {

class PlayerController : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

private:
    bool skillKeysRemoved = false;  // K and L were unbound by a death and not yet bound again
};

}  // namespace Engine

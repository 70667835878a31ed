// Engine::AnimationUpdate (a system of the registry): Steps the sprite-sheet animations of every animated object.
#pragma once

#include "core/System.h"

namespace Engine {

class AnimationUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

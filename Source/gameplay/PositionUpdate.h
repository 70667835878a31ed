// Engine::PositionUpdate (a system of the registry, right after collision resolution): commits
// each Controller's corrected predicted position to the object's Transform.
#pragma once

#include "core/System.h"

namespace Engine {

class PositionUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

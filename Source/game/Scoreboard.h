// Engine::Scoreboard (a system of the registry): Counts down the level score and keeps the leaderboard file.
#pragma once

#include "core/System.h"

namespace Engine {

class Scoreboard : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

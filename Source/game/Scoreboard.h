// Engine::Scoreboard (a system of the registry): Counts down the level score and keeps the leaderboard file.
#pragma once

#include "core/System.h"

#include <cstdint>

namespace Engine {

class Scoreboard : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    std::uint32_t score = 300;  // the current level's score; a restart sets it back
};

}  // namespace Engine

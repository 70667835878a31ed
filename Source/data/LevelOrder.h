// The order of the four levels: for each level state, the level file's name, its music, its
// win stinger, the overview the camera shows on its level-complete screen and the image of
// the score-entry screen after it. The screens,
// the restart action, the camera step, PlayWinStinger and the enemy respawn all read it;
// it is level data, so the Lua functions below the game flow read it here.
#pragma once

#include <cstdint>
#include <span>

namespace Engine {

struct LevelInfo {
    std::int32_t state;  // GameStateIndex while the level plays
    const char* level;
    const char* music;
    const char* winStinger;
    const char* completeImage;  // "LevelComplete" on the score-entry screen after the level
    // The level-complete overview: camera eye and position x and y, view size.
    float overviewX;
    float overviewY;
    float overviewWidth;
    float overviewHeight;
};

// The four levels in play order ("Level 1" first).
std::span<const LevelInfo> LevelOrder();

// The level played in a game state, or null outside the level states 3 to 6.
const LevelInfo* LevelOfState(std::int32_t state);

}  // namespace Engine

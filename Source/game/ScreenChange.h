// Moving the game flow to another screen or level: its level file is loaded and then
// GameStateIndex names it. The screen flow and the confirmed dialog actions use it.
#pragma once

#include "data/LevelOrder.h"

#include <cstdint>

namespace Engine {

// A screen of the screen table (not a level state).
void ShowScreen(std::int32_t state);

// The level is loaded, its music plays, and its state is GameStateIndex.
void StartLevel(const LevelInfo& level);

}  // namespace Engine

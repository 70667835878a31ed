// GameStateIndex: the global screen state, the one fact of the game flow that the folders
// below it read (the Lua functions of the level in play). The game flow writes it.
#pragma once

#include <cstdint>

// 0 splash, 1 main menu, 2 credits, 3 to 6 "Level 1" to "Level 4", 7 score entry, 8 leaderboard.
extern std::int32_t GameStateIndex;

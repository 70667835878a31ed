// The two globals of the game flow: which screen is showing and what the confirm dialog
// does when answered yes. Written by the game flow; read by the menu keys, the scoreboard
// and the Lua functions that respawn enemies and play the win stinger.
#pragma once

#include <cstdint>

// 0 splash, 1 main menu, 2 credits, 3 to 6 "Level 1" to "Level 4", 7 score entry, 8 leaderboard.
extern std::int32_t GameStateIndex;
// 0 quit, 1 restart the level, 2 main menu, 3 credits.
extern std::int32_t ConfirmAction;

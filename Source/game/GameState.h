// The two globals of the game flow: which screen is showing (kept in core, where the Lua
// functions that respawn enemies and play the win stinger read it too) and what the confirm
// dialog does when answered yes. Written by the game flow; read by the menu keys and the
// scoreboard.
#pragma once

#include "core/GameStateIndex.h"

#include <cstdint>

// 0 quit, 1 restart the level, 2 main menu, 3 credits.
extern std::int32_t ConfirmAction;

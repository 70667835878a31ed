// The two globals of the game flow and the values they take: which screen is showing (kept in
// core, where the Lua functions that respawn enemies and play the win stinger read it too) and
// what the confirm dialog does when answered yes. Written by the game flow; read by the menu
// keys and the scoreboard.
#pragma once

#include "core/GameStateIndex.h"
#include "data/LevelOrder.h"

#include <cstdint>

// The values of GameStateIndex. 3 to 6 are the four levels: each row of the level order
// holds the state of its level.
namespace GameState {
inline constexpr std::int32_t Splash = 0;
inline constexpr std::int32_t MainMenu = 1;
inline constexpr std::int32_t Credits = 2;
inline constexpr std::int32_t ScoreEntry = 7;  // after a level
inline constexpr std::int32_t Leaderboard = 8;

inline bool IsLevel(std::int32_t state) { return Engine::LevelOfState(state) != nullptr; }
}  // namespace GameState

// The values of ConfirmAction.
namespace Confirm {
inline constexpr std::int32_t Quit = 0;
inline constexpr std::int32_t RestartLevel = 1;
inline constexpr std::int32_t MainMenu = 2;
inline constexpr std::int32_t Credits = 3;
}  // namespace Confirm

extern std::int32_t ConfirmAction;  // a Confirm value

// The two globals of the game flow, which screen is showing and what the confirm dialog does
// when answered yes, and the values they take. Written by the game flow; read by the menu
// keys, the scoreboard and the Lua functions that respawn enemies and play the win stinger.
#pragma once

#include <cstdint>

// The values of GameStateIndex.
namespace GameState {
inline constexpr std::int32_t Splash = 0;
inline constexpr std::int32_t MainMenu = 1;
inline constexpr std::int32_t Credits = 2;
inline constexpr std::int32_t FirstLevel = 3;  // "Level 1"; "Level 2" to "Level 4" follow
inline constexpr std::int32_t LastLevel = 6;   // "Level 4"
inline constexpr std::int32_t ScoreEntry = 7;  // after a level
inline constexpr std::int32_t Leaderboard = 8;

constexpr bool IsLevel(std::int32_t state) { return state >= FirstLevel && state <= LastLevel; }
}  // namespace GameState

// The values of ConfirmAction.
namespace Confirm {
inline constexpr std::int32_t Quit = 0;
inline constexpr std::int32_t RestartLevel = 1;
inline constexpr std::int32_t MainMenu = 2;
inline constexpr std::int32_t Credits = 3;
}  // namespace Confirm

extern std::int32_t GameStateIndex;  // a GameState value
extern std::int32_t ConfirmAction;   // a Confirm value

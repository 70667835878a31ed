// The screens of the game flow that are not levels (the level order has those): for each
// GameStateIndex value, the level file that is the screen and, for the main menu, its buttons.
// Also the menus that open over a screen: the pause menu's buttons and the options entries.
// The screen flow, the confirmed actions, the start-up and the menu keys read it.
#pragma once

#include "game/ScreenObjects.h"

#include <cstdint>
#include <span>

namespace Engine {

struct ScreenInfo {
    std::int32_t state;  // GameStateIndex while it shows
    const char* level;
    std::span<const ScreenObjects::Button> buttons;  // by the menu's selection; empty without a menu
};

// The screen of a state; null for the level states and for values no screen has.
const ScreenInfo* ScreenOfState(std::int32_t state);
// The level file of a screen state.
const char* ScreenLevel(std::int32_t state);

// Main-menu buttons, by mainMenuSelection.
namespace MainMenuEntry {
enum : std::int32_t { Start, Leaderboard, HowToPlay, Options, Credits, Exit };
}

// Pause-menu buttons, by pauseMenuSelection.
namespace PauseEntry {
enum : std::int32_t { Resume, Restart, HowToPlay, Options, Credits, ReturnToMenu, Quit };
}
std::span<const ScreenObjects::Button> PauseMenuButtons();

// Options entries, by optionsSelection.
namespace OptionsEntry {
enum : std::int32_t { FullScreen, Music, Leave, Count };
}

}  // namespace Engine

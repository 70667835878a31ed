// The game's own keys: the menu keys (Up, Down, Enter, Escape, F1), the debug keys (god mode,
// music, full screen, level skip, checkpoint warp) and the editor key. Game::Init binds them;
// the options dialog shares the full-screen and music switches with F11, F3 and F4.
#pragma once

class Game;

namespace Engine::GameKeys {

// Back-quote, F1, Up, Down, Escape, Enter and Enter's release, in this order.
void BindMenuKeys(Game& game);
// F2, F3, F4, F11, F6 and F7, in this order.
void BindDebugKeys(Game& game);

// The window's full-screen state is read and set to its opposite; the option follows.
void ToggleFullScreen(Game& game);
// Music off stops the current music and mutes; music on unmutes and plays it again.
void SetMusicEnabled(Game& game, bool enabled);

// Moves the player to the nearest checkpoint ahead (to the right), if there is one.
void WarpToNextCheckpoint();

}  // namespace Engine::GameKeys

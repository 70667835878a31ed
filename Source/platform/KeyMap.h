// Maps SDL key codes to the one-byte Windows virtual-key codes the engine uses for every
// key binding. The window's message pump calls it for each key-down and key-up.
#pragma once

#include <SDL_keycode.h>

#include <cstdint>

namespace Platform {

// 0 for keys the game has no code for; 0 is never a valid virtual-key code.
std::uint8_t VirtualKeyFromSdl(SDL_Keycode key);

}  // namespace Platform

// Platform::KeyHeld: whether a key is held down at this moment, asked by its one-byte Windows
// virtual-key code. The editor's shortcuts and drag keys ask it; it reads SDL's keyboard and
// modifier state, so it answers also while the UI holds the keyboard and no key event reaches
// the input manager.
#pragma once

#include <cstdint>

namespace Platform {

bool KeyHeld(std::uint8_t virtualKey);

}  // namespace Platform

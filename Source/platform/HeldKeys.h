// Platform::KeyHeld: whether a key is held down at this moment, asked by its one-byte Windows
// virtual-key code. The editor's shortcuts and drag keys ask it. The window notes every key
// event it hands out, so a key is held from its press to its release as the game and the UI
// saw them (SDL's own state already knows the events still queued for the next frame); it
// answers also while the UI holds the keyboard and no key event reaches the input manager.
#pragma once

#include <cstdint>

union SDL_Event;

namespace Platform {

bool KeyHeld(std::uint8_t virtualKey);

// The modifier keys held, as SDL's KMOD_ bits, in the same sense as KeyHeld.
std::uint16_t HeldModifiers();

// A key event the window hands out now.
void NoteKeyEvent(const SDL_Event& event);
// Whether a key event presses a key that is up or releases one that is down (a repeat does not).
bool ChangesHeldKey(const SDL_Event& event);

}  // namespace Platform

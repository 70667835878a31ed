#include "platform/HeldKeys.h"

#include "platform/KeyMap.h"
#include "platform/VirtualKeys.h"

#include <SDL.h>

namespace Platform {

bool KeyHeld(std::uint8_t virtualKey)
{
    if (virtualKey == 0)
        return false;
    // Modifiers come from the modifier state, which SDL keeps also for keys pressed before
    // the window had focus.
    const SDL_Keymod modifiers = SDL_GetModState();
    if (virtualKey == VirtualKey::Control && (modifiers & KMOD_CTRL) != 0)
        return true;
    if (virtualKey == VirtualKey::Shift && (modifiers & KMOD_SHIFT) != 0)
        return true;
    if (virtualKey == VirtualKey::Alt && (modifiers & KMOD_ALT) != 0)
        return true;

    // Every held scancode is turned into its key under the current layout and from there into
    // a virtual key, through the same table as the key events.
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (state == nullptr)
        return false;
    for (int scancode = 0; scancode < count; ++scancode) {
        if (state[scancode] == 0)
            continue;
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
        if (VirtualKeyFromSdl(key) == virtualKey)
            return true;
    }
    return false;
}

}  // namespace Platform

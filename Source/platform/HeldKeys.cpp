#include "platform/HeldKeys.h"

#include "platform/KeyMap.h"
#include "platform/VirtualKeys.h"

#include <SDL.h>

#include <bitset>

namespace Platform {

namespace {

// What the events handed out so far say. Until the first one, SDL's own state answers: it
// knows also the keys pressed before the window had focus.
bool anyNoted = false;
std::bitset<SDL_NUM_SCANCODES> down;
std::uint16_t noted = KMOD_NONE;  // the modifiers of the last key event

bool IsKeyEvent(const SDL_Event& event) { return event.type == SDL_KEYDOWN || event.type == SDL_KEYUP; }

bool ScancodeDown(int scancode)
{
    if (anyNoted)
        return down.test(static_cast<std::size_t>(scancode));
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    return state != nullptr && scancode < count && state[scancode] != 0;
}

}  // namespace

std::uint16_t HeldModifiers()
{
    if (!anyNoted)
        return static_cast<std::uint16_t>(SDL_GetModState());
    std::uint16_t modifiers = noted;
    // Pressed modifier keys count even where an event did not carry the modifier bits.
    constexpr std::pair<SDL_Scancode, std::uint16_t> ModifierKeys[] = {
        {SDL_SCANCODE_LCTRL, KMOD_LCTRL}, {SDL_SCANCODE_RCTRL, KMOD_RCTRL}, {SDL_SCANCODE_LSHIFT, KMOD_LSHIFT},
        {SDL_SCANCODE_RSHIFT, KMOD_RSHIFT}, {SDL_SCANCODE_LALT, KMOD_LALT}, {SDL_SCANCODE_RALT, KMOD_RALT},
        {SDL_SCANCODE_LGUI, KMOD_LGUI}, {SDL_SCANCODE_RGUI, KMOD_RGUI}};
    for (const auto& [scancode, bit] : ModifierKeys)
        if (down.test(scancode))
            modifiers |= bit;
    return modifiers;
}

bool KeyHeld(std::uint8_t virtualKey)
{
    if (virtualKey == 0)
        return false;
    const std::uint16_t modifiers = HeldModifiers();
    if (virtualKey == VirtualKey::Control && (modifiers & KMOD_CTRL) != 0)
        return true;
    if (virtualKey == VirtualKey::Shift && (modifiers & KMOD_SHIFT) != 0)
        return true;
    if (virtualKey == VirtualKey::Alt && (modifiers & KMOD_ALT) != 0)
        return true;

    // Every held scancode is turned into its key under the current layout and from there into
    // a virtual key, through the same table as the key events.
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        if (!ScancodeDown(scancode))
            continue;
        const SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(scancode));
        if (VirtualKeyFromSdl(key) == virtualKey)
            return true;
    }
    return false;
}

bool ChangesHeldKey(const SDL_Event& event)
{
    if (!IsKeyEvent(event))
        return false;
    const int scancode = event.key.keysym.scancode;
    if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES)
        return false;
    return ScancodeDown(scancode) != (event.type == SDL_KEYDOWN);
}

void NoteKeyEvent(const SDL_Event& event)
{
    if (!IsKeyEvent(event))
        return;
    if (!anyNoted) {
        // From here on the events answer; they start from what SDL knew before them.
        int count = 0;
        const Uint8* state = SDL_GetKeyboardState(&count);
        for (int scancode = 0; state != nullptr && scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode)
            down.set(static_cast<std::size_t>(scancode), state[scancode] != 0);
        anyNoted = true;
    }
    noted = event.key.keysym.mod;
    const int scancode = event.key.keysym.scancode;
    if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES)
        down.set(static_cast<std::size_t>(scancode), event.type == SDL_KEYDOWN);
}

}  // namespace Platform

#include "platform/KeyMap.h"

#include "platform/VirtualKeys.h"

#include <array>
#include <utility>

namespace Platform {

namespace {

namespace Key = VirtualKey;

struct KeyPair {
    SDL_Keycode sdl;
    std::uint8_t virtualKey;
};

// Keycodes, not scancodes: like Windows virtual keys they follow the keyboard layout, so the
// key labelled A is 'A' on every layout. Left and right modifiers share one code as on Windows.
constexpr std::array KeyTable{
    KeyPair{SDLK_BACKSPACE, Key::Backspace}, KeyPair{SDLK_TAB, Key::Tab},
    KeyPair{SDLK_RETURN, Key::Return},       KeyPair{SDLK_KP_ENTER, Key::Return},
    KeyPair{SDLK_LSHIFT, Key::Shift},        KeyPair{SDLK_RSHIFT, Key::Shift},
    KeyPair{SDLK_LCTRL, Key::Control},       KeyPair{SDLK_RCTRL, Key::Control},
    KeyPair{SDLK_LALT, Key::Alt},            KeyPair{SDLK_RALT, Key::Alt},
    KeyPair{SDLK_ESCAPE, Key::Escape},       KeyPair{SDLK_SPACE, Key::Space},
    KeyPair{SDLK_PAGEUP, Key::PageUp},       KeyPair{SDLK_PAGEDOWN, Key::PageDown},
    KeyPair{SDLK_END, Key::End},             KeyPair{SDLK_HOME, Key::Home},
    KeyPair{SDLK_LEFT, Key::Left},           KeyPair{SDLK_UP, Key::Up},
    KeyPair{SDLK_RIGHT, Key::Right},         KeyPair{SDLK_DOWN, Key::Down},
    KeyPair{SDLK_INSERT, Key::Insert},       KeyPair{SDLK_DELETE, Key::Delete},
    KeyPair{SDLK_BACKQUOTE, Key::BackQuote},
    // The numeric keypad, 0x60 to 0x6F: the codes a lower-case letter names in a Lua binding.
    KeyPair{SDLK_KP_0, Key::Keypad0},        KeyPair{SDLK_KP_1, Key::Keypad0 + 1},
    KeyPair{SDLK_KP_2, Key::Keypad0 + 2},    KeyPair{SDLK_KP_3, Key::Keypad0 + 3},
    KeyPair{SDLK_KP_4, Key::Keypad0 + 4},    KeyPair{SDLK_KP_5, Key::Keypad0 + 5},
    KeyPair{SDLK_KP_6, Key::Keypad0 + 6},    KeyPair{SDLK_KP_7, Key::Keypad0 + 7},
    KeyPair{SDLK_KP_8, Key::Keypad0 + 8},    KeyPair{SDLK_KP_9, Key::Keypad0 + 9},
    KeyPair{SDLK_KP_MULTIPLY, Key::Keypad0 + 10}, KeyPair{SDLK_KP_PLUS, Key::Keypad0 + 11},
    KeyPair{SDLK_KP_COMMA, Key::Keypad0 + 12},    KeyPair{SDLK_KP_MINUS, Key::Keypad0 + 13},
    KeyPair{SDLK_KP_PERIOD, Key::Keypad0 + 14},   KeyPair{SDLK_KP_DIVIDE, Key::Keypad0 + 15},
};

}  // namespace

std::uint8_t VirtualKeyFromSdl(SDL_Keycode key)
{
    // Letters, digits and function keys are contiguous runs in both code sets.
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<std::uint8_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<std::uint8_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return Key::Function(1 + (key - SDLK_F1));
    for (const KeyPair& pair : KeyTable) {
        if (pair.sdl == key)
            return pair.virtualKey;
    }
    return 0;
}

}  // namespace Platform

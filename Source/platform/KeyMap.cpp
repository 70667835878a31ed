#include "platform/KeyMap.h"

#include <array>
#include <utility>

namespace Platform {

namespace {

struct KeyPair {
    SDL_Keycode sdl;
    std::uint8_t virtualKey;
};

// Keycodes, not scancodes: like Windows virtual keys they follow the keyboard layout, so the
// key labelled A is 'A' on every layout. Left and right modifiers share one code as on Windows.
constexpr std::array KeyTable{
    KeyPair{SDLK_BACKSPACE, 0x08}, KeyPair{SDLK_TAB, 0x09},       KeyPair{SDLK_RETURN, 0x0D},
    KeyPair{SDLK_KP_ENTER, 0x0D},  KeyPair{SDLK_LSHIFT, 0x10},    KeyPair{SDLK_RSHIFT, 0x10},
    KeyPair{SDLK_LCTRL, 0x11},     KeyPair{SDLK_RCTRL, 0x11},     KeyPair{SDLK_LALT, 0x12},
    KeyPair{SDLK_RALT, 0x12},      KeyPair{SDLK_ESCAPE, 0x1B},    KeyPair{SDLK_SPACE, 0x20},
    KeyPair{SDLK_PAGEUP, 0x21},    KeyPair{SDLK_PAGEDOWN, 0x22},  KeyPair{SDLK_END, 0x23},
    KeyPair{SDLK_HOME, 0x24},      KeyPair{SDLK_LEFT, 0x25},      KeyPair{SDLK_UP, 0x26},
    KeyPair{SDLK_RIGHT, 0x27},     KeyPair{SDLK_DOWN, 0x28},      KeyPair{SDLK_INSERT, 0x2D},
    KeyPair{SDLK_DELETE, 0x2E},    KeyPair{SDLK_BACKQUOTE, 0xC0},
    // The numeric keypad, 0x60 to 0x6F: the codes a lower-case letter names in a Lua binding.
    KeyPair{SDLK_KP_0, 0x60},      KeyPair{SDLK_KP_1, 0x61},      KeyPair{SDLK_KP_2, 0x62},
    KeyPair{SDLK_KP_3, 0x63},      KeyPair{SDLK_KP_4, 0x64},      KeyPair{SDLK_KP_5, 0x65},
    KeyPair{SDLK_KP_6, 0x66},      KeyPair{SDLK_KP_7, 0x67},      KeyPair{SDLK_KP_8, 0x68},
    KeyPair{SDLK_KP_9, 0x69},      KeyPair{SDLK_KP_MULTIPLY, 0x6A}, KeyPair{SDLK_KP_PLUS, 0x6B},
    KeyPair{SDLK_KP_COMMA, 0x6C},  KeyPair{SDLK_KP_MINUS, 0x6D},  KeyPair{SDLK_KP_PERIOD, 0x6E},
    KeyPair{SDLK_KP_DIVIDE, 0x6F},
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
        return static_cast<std::uint8_t>(0x70 + (key - SDLK_F1));
    for (const KeyPair& pair : KeyTable) {
        if (pair.sdl == key)
            return pair.virtualKey;
    }
    return 0;
}

}  // namespace Platform

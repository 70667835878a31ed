#include "platform/KeyMap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct KeyCase {
    SDL_Keycode sdl;
    int virtualKey;
};

TEST(KeyMap, MapsSdlKeysToWindowsVirtualKeys)
{
    const std::vector<KeyCase> cases = {
        {SDLK_a, 0x41},         {SDLK_d, 0x44},        {SDLK_z, 0x5A},        {SDLK_0, 0x30},
        {SDLK_9, 0x39},         {SDLK_F1, 0x70},       {SDLK_F11, 0x7A},      {SDLK_F12, 0x7B},
        {SDLK_LEFT, 0x25},      {SDLK_UP, 0x26},       {SDLK_RIGHT, 0x27},    {SDLK_DOWN, 0x28},
        {SDLK_SPACE, 0x20},     {SDLK_RETURN, 0x0D},   {SDLK_KP_ENTER, 0x0D}, {SDLK_ESCAPE, 0x1B},
        {SDLK_TAB, 0x09},       {SDLK_BACKSPACE, 0x08}, {SDLK_DELETE, 0x2E},  {SDLK_INSERT, 0x2D},
        {SDLK_HOME, 0x24},      {SDLK_END, 0x23},      {SDLK_PAGEUP, 0x21},   {SDLK_PAGEDOWN, 0x22},
        {SDLK_LSHIFT, 0x10},    {SDLK_RSHIFT, 0x10},   {SDLK_LCTRL, 0x11},    {SDLK_RCTRL, 0x11},
        {SDLK_LALT, 0x12},      {SDLK_RALT, 0x12},     {SDLK_BACKQUOTE, 0xC0},
        // The keypad: 'a' (0x61) is its 1, 'o' (0x6F) its divide key.
        {SDLK_KP_0, 0x60},      {SDLK_KP_1, 'a'},      {SDLK_KP_9, 0x69},     {SDLK_KP_MULTIPLY, 0x6A},
        {SDLK_KP_PLUS, 0x6B},   {SDLK_KP_COMMA, 0x6C}, {SDLK_KP_MINUS, 0x6D}, {SDLK_KP_PERIOD, 0x6E},
        {SDLK_KP_DIVIDE, 'o'},
        // Keys the game has no code for.
        {SDLK_F13, 0},          {SDLK_UNKNOWN, 0},     {SDLK_CAPSLOCK, 0},
    };
    for (const KeyCase& keyCase : cases)
        EXPECT_EQ(Platform::VirtualKeyFromSdl(keyCase.sdl), keyCase.virtualKey) << SDL_GetKeyName(keyCase.sdl);
}

}  // namespace

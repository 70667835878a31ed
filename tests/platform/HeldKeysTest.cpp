#include "platform/HeldKeys.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

TEST(HeldKeys, ModifiersAnswerFromTheModifierStateWhateverHasTheKeyboard)
{
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    EXPECT_FALSE(Platform::KeyHeld(0x11));
    SDL_SetModState(KMOD_RCTRL);
    EXPECT_TRUE(Platform::KeyHeld(0x11));
    EXPECT_FALSE(Platform::KeyHeld(0x10));
    SDL_SetModState(KMOD_LSHIFT);
    EXPECT_TRUE(Platform::KeyHeld(0x10));
    EXPECT_FALSE(Platform::KeyHeld(0x11));
    // No letter is down, and 0 is no key at all.
    EXPECT_FALSE(Platform::KeyHeld('F'));
    EXPECT_FALSE(Platform::KeyHeld(0));
    SDL_SetModState(KMOD_NONE);
    SDL_Quit();
}

}  // namespace

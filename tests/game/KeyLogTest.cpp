// The log names keys in print: a start-up and a press of every bound key, through the real
// game and its message pump, leave a log.txt that is valid UTF-8 text.
#include "GameDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Whether the bytes are well-formed UTF-8 (no stray continuation byte, no overlong or
// truncated sequence); the position of the first fault goes to `fault`.
bool IsUtf8(const std::string& text, std::size_t& fault)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        bool ok = length > 0 && i + static_cast<std::size_t>(length) <= text.size() && !(length == 2 && lead < 0xC2);
        for (int k = 1; ok && k < length; ++k)
            ok = (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0xC0) == 0x80;
        if (!ok) {
            fault = i;
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

TEST(KeyLog, StartUpAndEveryBoundKeyLeaveAValidUtf8Log)
{
    EndToEnd::GameDriver driver;
    driver.Frames(2);
    const SDL_Keycode keys[] = {SDLK_a, SDLK_LEFT, SDLK_d, SDLK_RIGHT, SDLK_j, SDLK_w, SDLK_SPACE, SDLK_z,
                                SDLK_k, SDLK_x, SDLK_l, SDLK_c, SDLK_UP, SDLK_DOWN, SDLK_BACKQUOTE,
                                SDLK_F2, SDLK_F3, SDLK_F4, SDLK_F7, SDLK_F11, SDLK_ESCAPE, SDLK_RETURN};
    for (const SDL_Keycode key : keys)
        driver.Tap(key);

    const std::string log = EndToEnd::LogText();
    std::size_t fault = 0;
    EXPECT_TRUE(IsUtf8(log, fault)) << "first bad byte at " << fault << ": ..." << log.substr(fault > 80 ? fault - 80 : 0, 100);
    for (const char* line : {"Registered Key Pressed Function to `", "Registered Key Pressed Function to Return",
                             "Registered Key Down Function to Left", "Running Key Pressed Function Space",
                             "Running Key Up Function Return", "Running Key Pressed Function F11"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

}  // namespace

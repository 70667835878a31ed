// A player for the real game's levels that runs right and jumps at walls and pits, seeing
// the level through its colliders; it can fall into one pit on purpose, to die once. Its key
// presses are a recording: written to a file, they are replayed by the end-to-end test.
#pragma once

#include "GameDriver.h"

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace EndToEnd {

// One key change, counted in frames from the first frame of the level.
struct KeyEvent {
    std::int64_t frame;
    SDL_Keycode key;
    bool down;
};

// The recording's text: one "FRAME KEY down|up" per line, KEY "Right" or "Space".
std::vector<KeyEvent> ReadRecording(const std::filesystem::path& path);
void WriteRecording(const std::filesystem::path& path, const std::vector<KeyEvent>& events);

class LevelAutopilot {
public:
    // dieAfterX: the first pit after this x is not jumped (once), so the run dies in its lava.
    explicit LevelAutopilot(float dieAfterX);

    // Decides this frame's keys from the player's state; call before each frame.
    void Step(GameDriver& driver);

    std::vector<KeyEvent> events;
    int deaths = 0;

private:
    void Press(GameDriver& driver, SDL_Keycode key, bool down);

    float dieAfterX;
    std::int64_t start = -1;
    bool rightHeld = false;
    int jumpFrames = 0;  // frames the jump key stays held
    bool wasDead = false;
    bool skipping = false;  // running into the pit chosen to die in
};

}  // namespace EndToEnd

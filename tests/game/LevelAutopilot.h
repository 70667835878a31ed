// A player for the real game's levels that runs right, jumps at walls and pits, and in the
// air uses the water kick and the air dash where its guess of the landing says it must,
// seeing the level through its colliders; it can fall into one pit on purpose, to die once.
// Its key presses are a recording: written to a file, they are replayed by the end-to-end test.
#pragma once

#include "GameDriver.h"

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace EndToEnd {

// One key change, counted in frames from the first frame of the level.
struct KeyEvent {
    std::int64_t frame;
    SDL_Keycode key;
    bool down;
};

// The recording's text: one "FRAME KEY down|up" per line, KEY one of "Right", "Space", "Up",
// "X" (the air dash) and "C" (the water kick).
std::vector<KeyEvent> ReadRecording(const std::filesystem::path& path);
void WriteRecording(const std::filesystem::path& path, const std::string& title, const std::vector<KeyEvent>& events);

// A jump the level asks for that no wall or pit ahead shows: from the ground between `x` and
// `x` + `range`, up onto something whose top is at least `top`, such as a platform to climb by.
// The pilot jumps from the first place there from which it sees a way up.
struct PilotJump {
    float x;
    float range;
    float top;
};

class LevelAutopilot {
public:
    // dieAfterX: the first pit after this x is not jumped (once), so the run dies in its lava.
    explicit LevelAutopilot(float dieAfterX = std::numeric_limits<float>::max(), std::vector<PilotJump> jumps = {});

    // Decides this frame's keys from the player's state; call before each frame.
    void Step(GameDriver& driver);

    std::vector<KeyEvent> events;
    int deaths = 0;

    // A box in the world: a solid collider or the player's.
    struct Box {
        float left, right, bottom, top;
    };

    // What the player does: a jump from the ground, and in the air the air dash (level, or up
    // and forward with Up held) and the water kick, each once until the next landing.
    enum class Move { None, Jump, Kick, Dash, DiagonalDash };

    // A jump's plan: the run key let go for its first frames (a shorter jump), the kick at the
    // first top, then the dash at the next one.
    struct Plan {
        bool kick = false;
        Move dash = Move::None;
        int coastFrames = 0;
    };

private:
    void Press(GameDriver& driver, SDL_Keycode key, bool down);
    void OnGround(GameDriver& driver, const Box& player);
    void InTheAir(GameDriver& driver);

    float dieAfterX;
    std::vector<PilotJump> jumps;
    std::vector<Box> solids;  // the level's, taken on the first step
    std::int64_t start = -1;
    bool rightHeld = false;
    int jumpFrames = 0;  // frames the jump key stays held
    int coastFrames = 0;  // frames the run key stays up
    std::vector<SDL_Keycode> releaseNext;  // keys tapped this frame
    int actionWait = 0;  // frames until a kick or dash just pressed shows in the player's state
    bool planned = false;  // the jump in the air is one of the level's climbs, with its skills
    Plan plan_;  // the skills of that climb still to come
    bool wasDead = false;
    bool skipping = false;  // running into the pit chosen to die in
};

}  // namespace EndToEnd

// Test support for the Lua interface: the engine's own registry started inside a game folder
// whose Resources/Scripts/ holds fixture scripts, so that scripts run through the real
// script manager's queue against the real services. The timer database runs on a clock the
// test moves by hand.
#pragma once

#include "ScriptFixture.h"

#include "core/TimerDatabase.h"
#include "scripting/ScriptManager.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace ScriptTest {

class GameWorld {
public:
    struct Options {
        bool sound = false;           // links the shipped sound banks into the game folder
        bool shippedScripts = false;  // copies the game's own scripts beside the fixtures
        bool levels = false;          // links the shipped level files into the game folder
    };

    explicit GameWorld(std::initializer_list<const char*> fixtures);
    GameWorld(std::initializer_list<const char*> fixtures, Options options);

    // Queues one call of the script for the object and runs the queue.
    void Run(const std::string& handle, std::uint32_t objectId = 0);
    // Moves the timer clock on and runs one timer update.
    void AdvanceTimers(std::int64_t milliseconds);
    // Runs whole frames of the registry, 1/60 s each, the timer clock moving with them.
    void RunFrames(int frames);
    // Replaces the Lua state, as the script editor does after a save; Report comes back.
    void ReloadAll();

    // Whether a line of that level contains the text.
    bool LoggedContaining(spdlog::level::level_enum level, const std::string& text) const;

    ScriptFolder folder;
    Engine::ScriptManager& scripts;
    Engine::TimerDatabase& timers;

private:
    std::int64_t clockNanoseconds = 0;
};

}  // namespace ScriptTest

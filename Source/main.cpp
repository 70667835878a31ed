// Entry point: reads the command line, builds the game, runs its frame loop until it quits,
// then lets it go (renderer first, then the window) and leaves the engine singletons to
// program exit. `--debug` turns on the debug switch, with which the back-quote key opens
// the editor; nothing else is taken.
#include "core/Game.h"

#include <cstdio>
#include <string_view>

int main(int argc, char** argv)
{
    bool debug = false;
    for (int index = 1; index < argc; ++index) {
        if (std::string_view(argv[index]) != "--debug") {
            std::fprintf(stderr, "usage: %s [--debug]\n", argv[0]);
            return 2;
        }
        debug = true;
    }
    {
        Game game;
        game.debugEnabled = debug ? 1 : 0;
        game.Run();
    }
    return 0;
}

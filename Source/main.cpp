// Entry point: builds the game, runs its frame loop until it quits, then lets it go
// (renderer first, then the window) and leaves the engine singletons to program exit.
// A start-up that failed (no window, no OpenGL context, no shaders) still runs the one frame
// that meets the quit, then ends with status 1 and says why on standard error.
#include "core/Game.h"

#include <cstdio>
#include <string>

int main()
{
    std::string startupFailure;
    {
        Game game;
        game.Run();
        if (!game.graphics.IsReady())
            startupFailure = game.graphics.StartupFailure().empty() ? "Failed to initialize Graphics!"
                                                                     : game.graphics.StartupFailure();
    }
    if (!startupFailure.empty()) {
        std::fprintf(stderr, "Project Vantrel could not start: %s (the log file log.txt in the logs folder of "
                             "the Documents folder says more)\n", startupFailure.c_str());
        return 1;
    }
    return 0;
}

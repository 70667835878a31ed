// Entry point: reads the command line, builds the game, runs its frame loop until it quits,
// then lets it go (renderer first, then the window) and leaves the engine singletons to
// program exit. `--debug` turns on the debug switch, with which the back-quote key opens
// the editor; nothing else is taken. A start-up that failed (no window, no OpenGL context,
// no shaders) still runs the one frame that meets the quit, then ends with status 1 and
// says why on standard error.
#include "core/Game.h"
#include "core/Log.h"
#include "platform/FreedPages.h"

#include <cstdio>
#include <string>
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
    Platform::KeepFreedPagesBetweenFrames();
    std::string startupFailure;
    {
        Game game;
        game.debugEnabled = debug ? 1 : 0;
        game.Run();
        FlushLogAtExit();
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

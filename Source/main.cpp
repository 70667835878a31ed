// Entry point: builds the game, runs its frame loop until it quits, then lets it go
// (renderer first, then the window) and leaves the engine singletons to program exit.
#include "core/Game.h"

int main()
{
    {
        Game game;
        game.Run();
    }
    return 0;
}

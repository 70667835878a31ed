/* Start-up timer: a library preloaded into the game (scripts/startup-time does it) that
 * notes the moment the first frame is presented, prints it on standard error as
 * "first frame presented at <ns>" (CLOCK_REALTIME) and then asks the game to quit, so the
 * game ends the ordinary way after that frame. Never linked into the game itself. */
#define _GNU_SOURCE
#include <SDL.h>

#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*realSwap)(SDL_Window*) = NULL;
    static int presented = 0;
    if (realSwap == NULL)
        realSwap = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    realSwap(window);
    if (presented++ != 0)
        return;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    fprintf(stderr, "first frame presented at %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

#include "platform/Cursor.h"

#include <SDL.h>

namespace Platform {

void SetCursorVisible(bool visible)
{
    const int wanted = visible ? SDL_ENABLE : SDL_DISABLE;
    if (SDL_ShowCursor(SDL_QUERY) != wanted)
        SDL_ShowCursor(wanted);
}

}  // namespace Platform

// The mouse cursor over the game window: hidden while the game plays, shown while the
// editor is open. The game update sets it every frame.
#pragma once

namespace Platform {

void SetCursorVisible(bool visible);

}  // namespace Platform

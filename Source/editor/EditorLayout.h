// Engine::PlaceEditorWindow: where each editor window first appears in the 1280 x 720 view,
// before the UI's own settings file remembers a layout. Every editor window calls it just
// before it begins.
#pragma once

namespace Engine {

void PlaceEditorWindow(const char* windowName);

}  // namespace Engine

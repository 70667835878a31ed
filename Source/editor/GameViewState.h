// Engine::GameViewState: what the editor's game view keeps from one frame to the next while
// the user drags, box-selects or pans. The editor holds one and only the game view uses it.
#pragma once

#include <imgui.h>

namespace Engine {

struct GameViewState {
    bool dragging = false;       // the selection follows the mouse
    bool boxSelecting = false;   // a selection rectangle is being dragged
    ImVec2 boxStart{0, 0};       // screen; the left button's click position
    ImVec2 boxEnd{0, 0};         // screen; the mouse in the current frame
    bool panning = false;        // the camera follows the right button
    ImVec2 panStartEye{0, 0};    // world; the camera eye when panning began
    ImVec2 panStartMouse{0, 0};  // screen; the right button's click position then
};

}  // namespace Engine

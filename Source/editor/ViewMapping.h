// Engine::ViewMapping: how the editor turns world points (y up) into UI pixels of the 1280 x 720
// view (y down) and back, from the camera's view size and eye and the editor zoom. The game
// view, the outlines, the checkpoint marker and the archetype placement all map through it.
#pragma once

namespace Engine {

struct ViewMapping {
    float width;   // the camera's view width, world units
    float height;  // the camera's view height
    float eyeX;
    float eyeY;
    float zoom;

    // The camera as it is now, with the editor's zoom.
    static ViewMapping Current(float zoom);

    float ScreenX(float worldX) const;
    float ScreenY(float worldY) const;
    // Not the exact inverses of the two above; the drag uses them only through differences.
    float WorldX(float screenX) const;
    float WorldY(float screenY) const;
};

}  // namespace Engine

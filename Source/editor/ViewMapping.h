// Engine::ViewMapping: how the editor turns world points (y up) into pixels of the UI's display
// (y down) and back. The renderer shows the camera's view rectangle, centred on its eye, across
// the whole display, so this is the same mapping the picture is drawn with, at any view size.
// The game view, the outlines, the checkpoint marker and the archetype placement use it.
#pragma once

namespace Engine {

struct ViewMapping {
    float width;          // the camera's view width, world units
    float height;         // the camera's view height
    float eyeX;           // the world point at the display's centre
    float eyeY;
    float displayWidth;   // the UI's display, pixels
    float displayHeight;

    // The camera and the UI's display as they are now.
    static ViewMapping Current();

    float ScreenX(float worldX) const;
    float ScreenY(float worldY) const;
    // The exact inverses of the two above.
    float WorldX(float screenX) const;
    float WorldY(float screenY) const;
};

}  // namespace Engine

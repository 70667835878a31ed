// Letterbox: where the fixed-size view (the renderer's 1280 x 720 target) lands on a window
// of any size: scaled to fit, aspect kept, centred between bars. The renderer blits the world
// with it and the UI layer draws the UI and maps the mouse with it, so both always agree.
#pragma once

namespace Platform {

struct Letterbox {
    // The view's rectangle on the drawable, in drawable pixels, top-left origin.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Drawable pixels per view unit along each axis (width / viewWidth, height / viewHeight).
    float scaleX = 1.0f;
    float scaleY = 1.0f;

    // A view of viewWidth x viewHeight fitted into a drawable of drawableWidth x drawableHeight;
    // an empty rectangle when either size is not positive.
    static Letterbox Fit(int drawableWidth, int drawableHeight, int viewWidth, int viewHeight);

    // The rectangle's bottom edge counted from the drawable's bottom, as OpenGL counts rows.
    int BottomFromBelow(int drawableHeight) const { return drawableHeight - top - height; }

    // A drawable pixel position as view coordinates (possibly outside the view, in a bar).
    float ViewX(float drawableX) const { return (drawableX - static_cast<float>(left)) / scaleX; }
    float ViewY(float drawableY) const { return (drawableY - static_cast<float>(top)) / scaleY; }
};

}  // namespace Platform

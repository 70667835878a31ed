#include "platform/Letterbox.h"

#include <algorithm>

namespace Platform {

Letterbox Letterbox::Fit(int drawableWidth, int drawableHeight, int viewWidth, int viewHeight)
{
    Letterbox box;
    if (drawableWidth <= 0 || drawableHeight <= 0 || viewWidth <= 0 || viewHeight <= 0) {
        box.width = 0;
        box.height = 0;
        return box;
    }
    if (drawableWidth == viewWidth && drawableHeight == viewHeight) {
        box.width = viewWidth;
        box.height = viewHeight;
        return box;
    }
    const float scale = std::min(static_cast<float>(drawableWidth) / static_cast<float>(viewWidth),
                                 static_cast<float>(drawableHeight) / static_cast<float>(viewHeight));
    box.width = std::min(drawableWidth, static_cast<int>(static_cast<float>(viewWidth) * scale));
    box.height = std::min(drawableHeight, static_cast<int>(static_cast<float>(viewHeight) * scale));
    // Odd leftovers go to the right and the top bar, as the rows are counted from below.
    box.left = (drawableWidth - box.width) / 2;
    box.top = drawableHeight - box.height - (drawableHeight - box.height) / 2;
    box.scaleX = static_cast<float>(box.width) / static_cast<float>(viewWidth);
    box.scaleY = static_cast<float>(box.height) / static_cast<float>(viewHeight);
    return box;
}

}  // namespace Platform

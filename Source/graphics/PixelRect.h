// PixelRect: a box of target pixels, columns left .. right - 1 and rows bottom .. top - 1
// (row 0 at the bottom, as OpenGL counts). The sprite pass and the batcher cut draws to them.
#pragma once

#include <algorithm>

struct PixelRect {
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;

    bool Empty() const { return right <= left || top <= bottom; }
    bool Contains(const PixelRect& other) const
    {
        return left <= other.left && bottom <= other.bottom && right >= other.right && top >= other.top;
    }
    PixelRect Intersection(const PixelRect& other) const
    {
        return {std::max(left, other.left), std::max(bottom, other.bottom), std::min(right, other.right),
                std::min(top, other.top)};
    }
    int Area() const { return Empty() ? 0 : (right - left) * (top - bottom); }
    PixelRect Union(const PixelRect& other) const
    {
        if (Empty())
            return other;
        if (other.Empty())
            return *this;
        return {std::min(left, other.left), std::min(bottom, other.bottom), std::max(right, other.right),
                std::max(top, other.top)};
    }
};

// HiddenPixels: which target pixels the frame's opaque draws so far have surely covered, and
// how near. A later draw that lies farther back fails the depth test on those pixels, so the
// sprite batcher cuts them from its scissor boxes; the picture stays exactly as it was.
#pragma once

#include "graphics/PixelRect.h"

#include <vector>

class HiddenPixels {
public:
    // A new frame: nothing covered.
    void Clear() { covers.clear(); }
    // Room for this many covers, so that a frame with no more opaque draws allocates nothing.
    void Reserve(std::size_t count) { covers.reserve(count); }
    std::size_t CapacityBytes() const { return covers.capacity() * sizeof(Cover); }
    // Every pixel of box was written by a fully opaque draw at this depth (or was already
    // nearer), so from now on it holds a depth of at most `depth`.
    void AddCover(const PixelRect& box, float depth);
    // Boxes that together hold every pixel of `box` not surely covered by something nearer
    // than `depth` (by more than the depth buffer's rounding). At most MaxPieces boxes: past
    // that, the rest of the covers are not cut away.
    void Uncovered(const PixelRect& box, float depth, std::vector<PixelRect>& pieces) const;

    // Cuts box out of pieces, unless that would leave more than MaxPieces of them: then the
    // pieces stay as they were and the answer is false.
    static bool Subtract(const PixelRect& box, std::vector<PixelRect>& pieces);

    static constexpr std::size_t MaxPieces = 8;
    // Depths this much apart stay in order in a 24-bit depth buffer, whatever its rounding.
    static constexpr float DepthMargin = 1e-5f;

private:
    struct Cover {
        PixelRect box;
        float depth;
    };
    std::vector<Cover> covers;
};

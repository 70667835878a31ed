// Engine::CollisionRecord: one contact of the frame between two rigid boxes at their predicted
// positions. CollisionUpdate writes one per pair with a side set; CollisionResolution reads them.
#pragma once

#include <cstdint>

namespace Engine {

struct CollisionRecord {
    std::uint32_t ownerA = 0;  // object of body A, the body met first in the id walk
    std::uint32_t ownerB = 0;
    int kind = 0;              // 0 box against box; detection makes no other kind
    // [0] B's bottom edge strictly inside A's vertical span, [1] B's top edge,
    // [2] B's right edge strictly inside A's horizontal span, [3] B's left edge.
    // At most one of 0 and 1 and at most one of 2 and 3 is set; none for boxes that only share an edge line.
    bool sides[4] = {false, false, false, false};
    float depthX = 0.0f;  // penetration along x plus 0.1; meaningful with side 2 or 3
    float depthY = 0.0f;  // penetration along y plus 0.1; meaningful with side 0 or 1
};

}  // namespace Engine

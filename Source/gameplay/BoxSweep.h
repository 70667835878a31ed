// Engine::BoxSweep: the broad phase of collision detection. It sorts the frame's boxes along x and
// sweeps them, so only boxes that really overlap come out as pairs. CollisionUpdate runs it each
// frame and tests the pairs in the order the full pairwise walk would meet them.
#pragma once

#include <cstdint>
#include <vector>

namespace Engine {

// A box at the point it is tested this frame, in world coordinates (y up).
struct SweptBox {
    std::uint32_t owner;  // object id; boxes come in ascending object id
    bool isStatic;        // two Static boxes are never paired
    float left;
    float right;
    float top;
    float bottom;
};

class BoxSweep {
public:
    struct Pair {
        std::uint32_t first;  // positions in the boxes handed to FindPairs, first < second
        std::uint32_t second;
    };

    // Fills `pairs` with every pair of positions whose boxes overlap or touch (the same closed
    // test the narrow phase makes) and of which at least one is not Static, ordered by first
    // position, then second. A box with an undefined (NaN) x edge overlaps nothing.
    void FindPairs(const std::vector<SweptBox>& boxes);

    std::vector<Pair> pairs;

private:
    void SortAlongX(const std::vector<SweptBox>& boxes);
    void Sweep(const std::vector<SweptBox>& boxes);

    std::vector<std::uint32_t> order;           // positions by left edge
    std::vector<std::uint32_t> previousOwners;  // last frame's order as object ids: the next sort starts from it
    std::vector<std::uint32_t> positionOf;      // object id -> position this frame
    std::vector<std::uint32_t> openMoving;      // swept-past boxes whose right edge is not yet behind
    std::vector<std::uint32_t> openStatic;
    std::vector<std::uint64_t> pairKeys;        // first << 32 | second, sorted into pair order
};

}  // namespace Engine

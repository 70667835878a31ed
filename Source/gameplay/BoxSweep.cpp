#include "gameplay/BoxSweep.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Engine {

namespace {
constexpr std::uint32_t Absent = std::numeric_limits<std::uint32_t>::max();
constexpr std::uint32_t Placed = Absent - 1;

bool OverlapInY(const SweptBox& a, const SweptBox& b) { return b.bottom <= a.top && a.bottom <= b.top; }

// NaN edges fail every comparison of the box test; they would also break the sort.
bool Sweepable(const SweptBox& box) { return !std::isnan(box.left) && !std::isnan(box.right); }
}  // namespace

void BoxSweep::FindPairs(const std::vector<SweptBox>& boxes)
{
    pairs.clear();
    SortAlongX(boxes);
    Sweep(boxes);

    std::sort(pairKeys.begin(), pairKeys.end());
    for (const std::uint64_t key : pairKeys)
        pairs.push_back({static_cast<std::uint32_t>(key >> 32), static_cast<std::uint32_t>(key)});
}

// Bodies move little from one frame to the next, so last frame's order is nearly sorted and an
// insertion sort finishes it in about one pass. After a level load or a teleport it may be far
// off; once the shifts pass a few per box the general sort takes over.
void BoxSweep::SortAlongX(const std::vector<SweptBox>& boxes)
{
    order.clear();
    if (boxes.empty()) {
        previousOwners.clear();
        return;
    }
    positionOf.assign(boxes.back().owner + 1, Absent);
    for (std::uint32_t position = 0; position < boxes.size(); ++position) {
        if (Sweepable(boxes[position]))
            positionOf[boxes[position].owner] = position;
    }
    for (const std::uint32_t owner : previousOwners) {
        if (owner < positionOf.size() && positionOf[owner] != Absent && positionOf[owner] != Placed) {
            order.push_back(positionOf[owner]);
            positionOf[owner] = Placed;
        }
    }
    for (std::uint32_t position = 0; position < boxes.size(); ++position) {
        if (positionOf[boxes[position].owner] == position)  // sweepable and new this frame
            order.push_back(position);
    }

    const auto leftOf = [&boxes](std::uint32_t position) { return boxes[position].left; };
    const std::size_t shiftBudget = 4 * order.size() + 64;
    std::size_t shifts = 0;
    for (std::size_t next = 1; next < order.size(); ++next) {
        const std::uint32_t moving = order[next];
        const float key = leftOf(moving);
        std::size_t slot = next;
        while (slot > 0 && leftOf(order[slot - 1]) > key && shifts <= shiftBudget) {
            order[slot] = order[slot - 1];
            --slot;
            ++shifts;
        }
        order[slot] = moving;
        if (shifts > shiftBudget) {
            std::sort(order.begin(), order.end(),
                      [&leftOf](std::uint32_t a, std::uint32_t b) { return leftOf(a) < leftOf(b); });
            break;
        }
    }

    previousOwners.clear();
    for (const std::uint32_t position : order)
        previousOwners.push_back(boxes[position].owner);
}

// In left-edge order, each box meets the open boxes whose right edge has not fallen behind its left
// edge: exactly the earlier boxes that overlap it in x. A box whose right edge falls behind one
// left edge falls behind every later one too, and is closed for good.
void BoxSweep::Sweep(const std::vector<SweptBox>& boxes)
{
    openMoving.clear();
    openStatic.clear();
    pairKeys.clear();
    const auto meet = [&](std::vector<std::uint32_t>& open, std::uint32_t position) {
        const SweptBox& box = boxes[position];
        std::size_t kept = 0;
        for (const std::uint32_t other : open) {
            if (boxes[other].right < box.left)
                continue;
            open[kept++] = other;
            if (OverlapInY(boxes[other], box)) {
                const std::uint64_t first = std::min(other, position);
                const std::uint64_t second = std::max(other, position);
                pairKeys.push_back(first << 32 | second);
            }
        }
        open.resize(kept);
    };

    for (const std::uint32_t position : order) {
        meet(openMoving, position);
        // Static boxes meet only moving ones, and are closed only when a moving box passes.
        if (boxes[position].isStatic) {
            openStatic.push_back(position);
        } else {
            meet(openStatic, position);
            openMoving.push_back(position);
        }
    }
}

}  // namespace Engine

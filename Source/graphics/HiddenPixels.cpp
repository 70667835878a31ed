#include "graphics/HiddenPixels.h"

void HiddenPixels::AddCover(const PixelRect& box, float depth)
{
    if (!box.Empty())
        covers.push_back({box, depth});
}

bool HiddenPixels::Subtract(const PixelRect& box, std::vector<PixelRect>& pieces)
{
    static thread_local std::vector<PixelRect> cut;  // keeps its capacity from frame to frame
    cut.clear();
    for (const PixelRect& piece : pieces) {
        const PixelRect hidden = piece.Intersection(box);
        if (hidden.Empty()) {
            cut.push_back(piece);
            continue;
        }
        // What is left of the piece around the hidden box: below, above, left, right.
        const PixelRect around[4] = {{piece.left, piece.bottom, piece.right, hidden.bottom},
                                     {piece.left, hidden.top, piece.right, piece.top},
                                     {piece.left, hidden.bottom, hidden.left, hidden.top},
                                     {hidden.right, hidden.bottom, piece.right, hidden.top}};
        for (const PixelRect& rest : around)
            if (!rest.Empty())
                cut.push_back(rest);
    }
    if (cut.size() > MaxPieces)
        return false;  // finer than is worth drawing separately
    pieces.swap(cut);
    return true;
}

void HiddenPixels::Uncovered(const PixelRect& box, float depth, std::vector<PixelRect>& pieces) const
{
    pieces.clear();
    if (box.Empty())
        return;
    pieces.push_back(box);
    for (const Cover& cover : covers)
        if (cover.depth + DepthMargin < depth && !pieces.empty())
            Subtract(cover.box, pieces);
}

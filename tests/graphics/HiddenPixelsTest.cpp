// The covers of opaque draws cut only what lies farther back, and the pieces left over still
// hold every pixel that may show.
#include "graphics/HiddenPixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int Area(const std::vector<PixelRect>& pieces)
{
    int area = 0;
    for (const PixelRect& piece : pieces)
        area += piece.Area();
    return area;
}

bool Inside(const std::vector<PixelRect>& pieces, int x, int y)
{
    for (const PixelRect& piece : pieces)
        if (x >= piece.left && x < piece.right && y >= piece.bottom && y < piece.top)
            return true;
    return false;
}

}  // namespace

TEST(HiddenPixels, OnlyNearerCoversCutAndEveryUncoveredPixelStays)
{
    struct Case {
        const char* what;
        PixelRect cover;
        float coverDepth;
        float drawDepth;
        int expectedArea;  // of the 100 x 100 draw's pieces
    };
    const Case cases[] = {
        {"nearer cover inside cuts a hole", {20, 20, 40, 40}, 0.1f, 0.5f, 10000 - 400},
        {"nearer cover across cuts a band", {-10, 0, 110, 30}, 0.1f, 0.5f, 7000},
        {"nearer cover over all leaves nothing", {-5, -5, 105, 105}, 0.1f, 0.5f, 0},
        {"cover farther back cuts nothing", {20, 20, 40, 40}, 0.6f, 0.5f, 10000},
        {"cover at the same depth cuts nothing", {20, 20, 40, 40}, 0.5f, 0.5f, 10000},
        {"cover nearer by less than the rounding cuts nothing", {20, 20, 40, 40}, 0.5f - 1e-6f, 0.5f, 10000},
        {"cover beside the draw cuts nothing", {100, 0, 150, 100}, 0.1f, 0.5f, 10000},
    };
    const PixelRect draw = {0, 0, 100, 100};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HiddenPixels hidden;
        hidden.AddCover(c.cover, c.coverDepth);
        std::vector<PixelRect> pieces;
        hidden.Uncovered(draw, c.drawDepth, pieces);
        EXPECT_EQ(Area(pieces), c.expectedArea);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool covered = x >= c.cover.left && x < c.cover.right && y >= c.cover.bottom && y < c.cover.top;
                if (!covered || c.expectedArea == 10000) {
                    ASSERT_TRUE(Inside(pieces, x, y)) << x << ", " << y;
                }
            }
        // The pieces never overlap: no pixel is drawn twice.
        for (std::size_t i = 0; i < pieces.size(); ++i)
            for (std::size_t j = i + 1; j < pieces.size(); ++j)
                EXPECT_TRUE(pieces[i].Intersection(pieces[j]).Empty());
    }
}

TEST(HiddenPixels, TooFinePiecesLeaveTheDrawWholeRatherThanCutWrongly)
{
    // A grid of small covers would cut the draw into more pieces than are worth drawing: the
    // covers past that point are not cut, but every pixel they leave stays in a piece.
    HiddenPixels hidden;
    for (int i = 0; i < 6; ++i)
        hidden.AddCover({10 + 15 * i, 40, 15 + 15 * i, 60}, 0.1f);
    std::vector<PixelRect> pieces;
    hidden.Uncovered({0, 0, 100, 100}, 0.5f, pieces);
    EXPECT_LE(pieces.size(), HiddenPixels::MaxPieces);
    EXPECT_GT(Area(pieces), 10000 - 6 * 100);
    for (int x = 0; x < 100; ++x)
        EXPECT_TRUE(Inside(pieces, x, 20)) << x;
}

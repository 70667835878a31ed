// Fully transparent fragments are dropped by both pixel shaders: a clear texel, or a sprite
// hidden by a colour alpha of 0, leaves what is drawn after it (even farther back) visible.
#include "RenderFixture.h"

#include <cstdlib>

using namespace RenderTest;

namespace {

constexpr Rgba Ochre = {200, 100, 50, 255};

// Left half clear, right half opaque white.
Rgba HalfClear(int x, int) { return x < 4 ? Rgba{0, 0, 0, 0} : Rgba{255, 255, 255, 255}; }

}  // namespace

class TransparentFragments : public RenderFixture {
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        WritePng(imageFolder / "debug.png", 8, 8, &HalfClear);
        WritePng(imageFolder / "ochre.png", 4, 4, Ochre);
        WritePng(imageFolder / "halfclear.png", 8, 8, &HalfClear);
        StartGraphics();
    }
};

TEST_F(TransparentFragments, NearClearPixelsDrawnFirstHideNothingBehind)
{
    // Each near sprite has the lower id, so it is drawn before the far one it overlaps.
    AddSprite(-300, 0, -5, 40, 40, "halfclear.png");                   // clear texels
    AddSprite(-300, 0, 5, 60, 60, "ochre.png");
    AddSprite(0, 0, -5, 40, 40, "ochre.png", {255, 255, 255, 0});      // hidden by its colour
    AddSprite(0, 0, 5, 60, 60, "ochre.png");
    AddSprite(300, 0, -5, 40, 40, "missing.png");                      // the fallback's clear texels
    AddSprite(300, 0, 5, 60, 60, "ochre.png");
    RenderFrame();

    ExpectColour(PixelAtWorld(-320, 0), Ochre, "behind the clear half");
    ExpectColour(PixelAtWorld(-280, 0), Rgba{255, 255, 255, 255}, "the opaque half still covers");
    ExpectColour(PixelAtWorld(0, 0), Ochre, "behind the alpha-0 sprite");
    ExpectColour(PixelAtWorld(280, 0), Ochre, "behind the fallback's clear half");
    ExpectColour(PixelAtWorld(320, 0), Rgba{255, 255, 255, 255}, "the fallback's opaque half");
}

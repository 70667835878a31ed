// The texture list's mipmaps: a texture starts with its full-size level only, a draw that
// shrinks it gets the smaller levels first, and the rest get them after presented frames.
#include "RenderFixture.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"

#include <cstdlib>
#include <vector>

using namespace RenderTest;

namespace {

// Vertical stripes of period four: one white column, three black. Shrunk eight times, the
// mipmapped image is a quarter white; sampling the full-size level alone gives half white.
Rgba Stripes(int x, int) { return x % 4 == 0 ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255}; }

const TextureRecord& Record(const Graphics& graphics, const char* name)
{
    bool usePixelShader = false;
    return *graphics.FindTexture(name, usePixelShader);
}

}  // namespace

using TextureMipmaps = RenderFixture;

TEST_F(TextureMipmaps, AShrunkDrawIsMadeFromTheSmallerLevels)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "stripes.png", 64, 64, &Stripes);
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    EXPECT_FALSE(Record(*graphics, "stripes.png").hasMipmaps);

    AddSprite(0, 0, 0, 4, 4, "stripes.png");  // 8 x 8 pixels of the 64 x 64 image
    RenderFrame();
    EXPECT_TRUE(Record(*graphics, "stripes.png").hasMipmaps);
    const Rgba pixel = PixelAtWorld(1, 1);
    EXPECT_LE(std::abs(pixel[0] - 64), 4) << int(pixel[0]);
}

TEST_F(TextureMipmaps, EnlargedDrawsWaitAndPresentedFramesBuildTheRest)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "stripes.png", 64, 64, &Stripes);
    WritePng(imageFolder / "wide.png", 8, 8, Rgba{10, 20, 30, 255});
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());

    AddSprite(0, 0, 0, 64, 64, "stripes.png");  // 128 x 128 pixels: enlarged
    RenderFrame();
    EXPECT_FALSE(Record(*graphics, "stripes.png").hasMipmaps);
    const Rgba white = PixelAtWorld(-64 + 1.5f, 0);  // mostly the first, white, column
    EXPECT_GE(white[0], 150);

    for (std::size_t frame = 0; frame < graphics->textures.records.size(); ++frame) {
        graphics->Present();
        EXPECT_EQ(graphics->textures.records[frame].hasMipmaps, true) << graphics->textures.records[frame].name;
    }
    // What an enlarged draw shows does not change once the levels are there.
    RenderFrame();
    EXPECT_EQ(PixelAtWorld(-64 + 1.5f, 0), white);
}

// An image drawn unrotated at exactly its own size is never sampled below its full-size level,
// so it waits for its levels and looks the same once it has them; turned, the driver may
// measure it shrunk, so it gets them first.
TEST_F(TextureMipmaps, OnlyATurnedDrawAtItsOwnSizeBuildsTheLevelsFirst)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "stripes.png", 64, 64, &Stripes);
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());

    const std::uint32_t id = AddSprite(0.5f, 0.5f, 0, 32, 32, "stripes.png");  // 64 x 64 pixels
    RenderFrame();
    EXPECT_FALSE(Record(*graphics, "stripes.png").hasMipmaps);
    std::vector<Rgba> before;
    for (int x = -31; x < 32; x += 3)
        before.push_back(PixelAtWorld(static_cast<float>(x), 5.0f));
    graphics->textures.BuildPendingMipmaps(graphics->textures.records.size());
    RenderFrame();
    std::vector<Rgba> after;
    for (int x = -31; x < 32; x += 3)
        after.push_back(PixelAtWorld(static_cast<float>(x), 5.0f));
    EXPECT_EQ(after, before);

    graphics.reset();
    StartGraphics();
    Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id)->rot = 0.3f;
    RenderFrame();
    EXPECT_TRUE(Record(*graphics, "stripes.png").hasMipmaps);
}

// The texture list's uploads and mipmaps: an image's pixels go into its texture at its first
// draw or after presented frames, a texture starts with its full-size level only, a draw that
// shrinks it gets the smaller levels first, and the rest get them after presented frames.
#include "RenderFixture.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"

#include <epoxy/gl.h>
#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <string>
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

using TextureUploads = RenderFixture;
using TextureMipmaps = RenderFixture;

// Start-up leaves the pixels in the records; a draw uploads what it shows, whatever the
// mesh, and presented frames upload the rest in file order.
TEST_F(TextureUploads, ADrawUploadsWhatItShowsAndPresentedFramesTheRest)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    const std::vector<std::string> names = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png", "g.png"};
    for (const std::string& name : names)
        WritePng(imageFolder / name, 4, 4, Rgba{200, 100, 50, 255});
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    for (const TextureRecord& record : graphics->textures.records)
        EXPECT_NE(record.pendingPixels.pixels, nullptr) << record.name;

    AddSprite(-100, 0, 0, 8, 8, "e.png");
    AddSprite(100, 0, 0, 8, 8, "g.png", Rgba{255, 255, 255, 255}, 1);  // the triangle
    RenderFrame();
    ExpectColour(PixelAtWorld(-100, 0), Rgba{200, 100, 50, 255}, "quad");
    ExpectColour(PixelAtWorld(100, -2), Rgba{200, 100, 50, 255}, "triangle");
    std::vector<std::string> waiting;
    for (const TextureRecord& record : graphics->textures.records)
        if (record.pendingPixels.pixels != nullptr)
            waiting.push_back(record.name);
    EXPECT_EQ(waiting, (std::vector<std::string>{"a.png", "b.png", "c.png", "d.png", "debug.png", "f.png"}));

    graphics->Present();
    for (std::size_t i = 0; i < graphics->textures.records.size(); ++i) {
        const TextureRecord& record = graphics->textures.records[i];
        EXPECT_EQ(record.pendingPixels.pixels == nullptr, i < Graphics::UploadsPerFrame || record.name == "e.png" ||
                                                              record.name == "g.png")
            << record.name;
    }
    graphics->Present();
    for (const TextureRecord& record : graphics->textures.records) {
        EXPECT_EQ(record.pendingPixels.pixels, nullptr) << record.name;
        EXPECT_NE(record.view, 0u) << record.name;
    }
    EXPECT_TRUE(ErrorLines().empty());
}

// An image wider than OpenGL takes is left out at start-up with the lines a refused upload
// logs; one that OpenGL refuses at its first draw logs them then and draws the debug image.
TEST_F(TextureUploads, RefusedImagesAreLoggedAndDrawTheDebugImage)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    StartGraphics();
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    ASSERT_GT(largest, 0);
    graphics.reset();
    WritePng(imageFolder / "long.png", largest + 1, 1, Rgba{1, 2, 3, 255});
    WritePng(imageFolder / "ochre.png", 2, 2, Rgba{200, 100, 50, 255});
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    std::vector<std::string> names;
    for (const TextureRecord& record : graphics->textures.records)
        names.push_back(record.name);
    EXPECT_EQ(names, (std::vector<std::string>{"debug.png", "ochre.png"}));
    const std::string longPath = (imageFolder / "long.png").string();
    EXPECT_EQ(ErrorLines(), (std::vector<std::string>{
                                fmt::format("Image {} ({} x 1) could not be made into a texture", longPath, largest + 1),
                                "Failed to initialize texture!", "Image long.png is drawn as the debug image"}));

    // A size OpenGL rejects stands for a refusal that only the upload can find (out of memory).
    graphics->textures.records[1].pendingPixels.width = -1;
    AddSprite(0, 0, 0, 4, 4, "ochre.png");
    RenderFrame();
    ExpectColour(PixelAtWorld(0, 0), Rgba{255, 0, 255, 255}, "the debug image in its place");
    const std::vector<std::string> refused = {
        "Image " + (imageFolder / "ochre.png").string() + " (-1 x 2) could not be made into a texture",
        "Failed to initialize texture!", "Image ochre.png is drawn as the debug image"};
    std::vector<std::string> errors = ErrorLines();
    ASSERT_GE(errors.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(errors.end() - 3, errors.end()), refused);
    bool usePixelShader = true;
    EXPECT_EQ(graphics->FindTexture("ochre.png", usePixelShader)->name, "debug.png");
    EXPECT_FALSE(usePixelShader);
    RenderFrame();
    graphics->Present();
    errors = ErrorLines();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), refused.back()), 1) << "refused once, logged once";
}

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

// The smaller levels take a third more storage, so only a draw that shrinks a texture makes
// them; presented frames leave the others without, and an enlarged draw looks the same with them.
TEST_F(TextureMipmaps, EnlargedDrawsNeverBuildTheSmallerLevels)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "stripes.png", 64, 64, &Stripes);
    WritePng(imageFolder / "wide.png", 8, 8, Rgba{10, 20, 30, 255});
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());

    AddSprite(0, 0, 0, 64, 64, "stripes.png");  // 128 x 128 pixels: enlarged
    RenderFrame();
    const Rgba white = PixelAtWorld(-64 + 1.5f, 0);  // mostly the first, white, column
    EXPECT_GE(white[0], 150);
    for (std::size_t frame = 0; frame < graphics->textures.records.size(); ++frame) {
        graphics->Present();
        RenderFrame();
    }
    for (const TextureRecord& record : graphics->textures.records) {
        EXPECT_FALSE(record.hasMipmaps) << record.name;
        EXPECT_EQ(record.pendingPixels.pixels, nullptr) << record.name << ": every image is uploaded all the same";
    }

    graphics->textures.BuildPendingMipmaps(graphics->textures.records.size());
    RenderFrame();
    EXPECT_EQ(PixelAtWorld(-64 + 1.5f, 0), white);
}

// An image of one colour drawn shrunk, turned or not, shows exactly that colour from its
// full-size level, so it does not wait for the smaller levels, and with them it shows the same.
TEST_F(TextureMipmaps, AnImageOfOneColourIsDrawnShrunkWithoutItsLevels)
{
    WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
    WritePng(imageFolder / "plain.png", 64, 64, Rgba{200, 100, 50, 255});
    WritePng(imageFolder / "almost.png", 64, 64, [](int x, int y) {
        return x == 63 && y == 63 ? Rgba{200, 100, 51, 255} : Rgba{200, 100, 50, 255};
    });
    StartGraphics();
    ASSERT_TRUE(graphics->IsReady());
    EXPECT_TRUE(Record(*graphics, "plain.png").oneColour);
    EXPECT_FALSE(Record(*graphics, "almost.png").oneColour);

    AddSprite(-100, 0, 0, 4, 4, "plain.png");
    const std::uint32_t turned = AddSprite(100, 0, 0, 4, 4, "plain.png");
    Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(turned)->rot = 0.3f;
    AddSprite(0, 100, 0, 4, 4, "almost.png");
    RenderFrame();
    EXPECT_FALSE(Record(*graphics, "plain.png").hasMipmaps);
    EXPECT_TRUE(Record(*graphics, "almost.png").hasMipmaps);
    EXPECT_EQ(PixelAtWorld(-100, 0), (Rgba{200, 100, 50, 255}));
    EXPECT_EQ(PixelAtWorld(100, 0), (Rgba{200, 100, 50, 255}));

    graphics->textures.BuildPendingMipmaps(graphics->textures.records.size());
    EXPECT_TRUE(Record(*graphics, "plain.png").hasMipmaps);
    RenderFrame();
    EXPECT_EQ(PixelAtWorld(-100, 0), (Rgba{200, 100, 50, 255}));
    EXPECT_EQ(PixelAtWorld(100, 0), (Rgba{200, 100, 50, 255}));
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

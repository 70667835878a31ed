// The world's target shown on a window of another size: the same pixels as a linear blit of
// the target into the letterbox, black bars around it, and the next frame drawn as the first.
#include "RenderFixture.h"

#include "core/GameObjectTable.h"
#include "platform/Letterbox.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <string>

using namespace RenderTest;

namespace {

// Every pixel differs from its neighbours, so a filter that samples half a texel off, a
// flipped row or a rectangle one pixel out shows in almost every pixel of the window.
Rgba Noise(int x, int y)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^ static_cast<std::uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return Rgba{static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h >> 16), 255};
}

class LetterboxOnWindow : public RenderFixture {
protected:
    void Start()
    {
        WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
        WritePng(imageFolder / "noise.png", 1280, 720, Noise);
        WritePng(imageFolder / "glass.png", 2, 2, Rgba{0, 0, 255, 128});
        StartGraphics();
        ASSERT_TRUE(graphics->IsReady());
        AddSprite(0, 0, 10, 640, 360, "noise.png");         // the whole view
        AddSprite(-100, 50, 5, 200, 120, "glass.png");      // blended over it, nearer
        AddSprite(150, -80, 20, 160, 90, "glass.png");      // behind the noise: hidden
    }

    // The window as the driver's own linear blit of the target leaves it.
    std::vector<Rgba> BlitTarget(int& width, int& height)
    {
        SDL_GL_GetDrawableSize(window, &width, &height);
        const RenderDevice& device = graphics->device;
        const Platform::Letterbox box = Platform::Letterbox::Fit(width, height, device.targetWidth, device.targetHeight);
        const int bottom = box.BottomFromBelow(height);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, device.renderTarget);
        glBlitFramebuffer(0, 0, device.targetWidth, device.targetHeight, box.left, bottom, box.left + box.width,
                          bottom + box.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return ReadWindow(width, height);
    }
};

TEST_F(LetterboxOnWindow, TheWindowShowsTheTargetAsALinearBlitWouldAtEverySize)
{
    struct Case {
        int width, height;
    };
    // Larger, smaller, with bars at the sides, above and below, and an odd scale.
    const Case cases[] = {{1920, 1080}, {1366, 768}, {1280, 1024}, {1600, 720}, {960, 540}, {1001, 777}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ReopenWindow(c.width, c.height);
        Start();
        ASSERT_NE(graphics->device.renderTarget, 0u);

        graphics->Render();
        int width = 0;
        int height = 0;
        const std::vector<Rgba> shown = ReadWindow(width, height);
        const std::vector<std::uint8_t> firstWorld = ReadWorldFrame();
        graphics->Present();
        // A second frame after the copy: it must find the pipeline as the first did.
        graphics->Render();
        const std::vector<Rgba> shownAgain = ReadWindow(width, height);
        EXPECT_EQ(ReadWorldFrame(), firstWorld) << "the second frame's world differs from the first";
        const std::vector<Rgba> blitted = BlitTarget(width, height);
        ASSERT_EQ(width, c.width);
        ASSERT_EQ(shown.size(), blitted.size());

        std::size_t differing = 0;
        std::size_t firstDifference = 0;
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (shown[i] != blitted[i] && differing++ == 0)
                firstDifference = i;
        EXPECT_EQ(differing, 0u) << "first at window pixel " << firstDifference % static_cast<std::size_t>(width)
                                 << ", " << firstDifference / static_cast<std::size_t>(width);
        EXPECT_EQ(shownAgain, shown);
        if (c.height * 1280 != c.width * 720) {
            EXPECT_EQ(shown.back(), (Rgba{0, 0, 0, 255})) << "the bars are black";
        }

        graphics.reset();
        for (std::uint32_t id = 0; id < 3; ++id)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
        std::filesystem::remove_all(imageFolder);
        std::filesystem::create_directories(imageFolder);
    }
}

}  // namespace

// Frame after frame the renderer draws into storage it made at start-up: neither the sprite
// batcher's per-frame storage nor the heap under the driver grows once frames are steady.
#include "RenderFixture.h"

#include "core/GameObjectTable.h"
#include "platform/FreedPages.h"

#include <epoxy/gl.h>
#include <malloc.h>

#include <cstddef>
#include <string>

using namespace RenderTest;

namespace {

constexpr int TextureCount = 20;

std::string Tile(int index) { return "tile" + std::to_string(index) + ".png"; }

// Bytes the C library holds from the system, in its heaps and in mappings of their own.
std::size_t HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return info.arena + info.hblkhd;
}

}  // namespace

class FrameStorage : public RenderFixture {
protected:
    void SetUp() override
    {
        Platform::KeepFreedPagesBetweenFrames();  // as the game's main does
        RenderFixture::SetUp();
        for (int t = 0; t < TextureCount; ++t)
            WritePng(imageFolder / Tile(t), 8, 8, Rgba{static_cast<std::uint8_t>(10 * t), 90, 200, 255});
        StartGraphics();
    }

    // Sprites in runs of one image, overlapping and at many depths, the last ones translucent.
    void FillWorld(int count)
    {
        for (int i = 0; i < count; ++i)
            AddSprite(static_cast<float>((i * 37) % 1280 - 640), static_cast<float>((i * 53) % 720 - 360),
                      static_cast<float>(i % 50), 6, 6, Tile(i * TextureCount / count),
                      Rgba{255, 255, 255, static_cast<std::uint8_t>(i > count / 2 ? 200 : 255)});
    }

    void EmptyWorld()
    {
        for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
    }

    void DrawFrames(int count)
    {
        for (int frame = 0; frame < count; ++frame) {
            RenderFrame();
            glFinish();
        }
    }
};

// From one sprite to more than a busy level draws, every frame fits the storage made before
// the first.
TEST_F(FrameStorage, BatcherStorageIsMadeOnceForEveryFrameSize)
{
    const std::size_t atStartUp = graphics->batcher.FrameStorageBytes();
    ASSERT_GT(atStartUp, 0u);
    for (const int sprites : {1, 300, 5000, 16000, 40}) {
        FillWorld(sprites);
        DrawFrames(2);
        EXPECT_GT(graphics->batcher.DrawCallCount(), 0u) << sprites << " sprites";
        EXPECT_EQ(graphics->batcher.FrameStorageBytes(), atStartUp) << sprites << " sprites";
        EmptyWorld();
    }
}

// The same busy frame drawn again and again, as the game does in one window: once the first
// frames have settled, none takes memory from the system or gives it back. (At this size, with
// the C library's defaults, Mesa's software rasteriser trims and regrows the heap every frame.)
TEST_F(FrameStorage, SteadyFramesNeitherGrowNorTrimTheHeap)
{
    FillWorld(16000);
    DrawFrames(5);
    const std::size_t settled = HeapBytes();
    for (int round = 0; round < 10; ++round) {
        DrawFrames(3);
        EXPECT_EQ(HeapBytes(), settled) << "after " << 3 * (round + 1) << " more frames";
    }
}

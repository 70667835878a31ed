#include "RenderFixture.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/SystemManager.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/ParticleSystem.h"

#include <cmath>
#include <cstdlib>
#include <functional>

using namespace RenderTest;

namespace {

constexpr Rgba Magenta = {255, 0, 255, 255};
constexpr Rgba Ochre = {200, 100, 50, 255};

// Cell (column, row) of a 4 x 2 sheet of 8-pixel cells, top row first, has its own colour.
Rgba SheetCell(int x, int y) { return {static_cast<std::uint8_t>(20 + 60 * (x / 8)), static_cast<std::uint8_t>(40 + 160 * (y / 8)), 0, 255}; }

}  // namespace

class SpriteDrawing : public RenderFixture {
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        WritePng(imageFolder / "debug.png", 4, 4, Magenta);
        WritePng(imageFolder / "ochre.png", 4, 4, Ochre);
        WritePng(imageFolder / "white.png", 4, 4, Rgba{255, 255, 255, 255});
        WritePng(imageFolder / "sheet.png", 32, 16, &SheetCell);
        StartGraphics();
    }
};

TEST_F(SpriteDrawing, EmptyWorldIsTheClearColour)
{
    RenderFrame();
    for (const auto& [x, y] : {std::pair{0.0f, 0.0f}, {-640.0f, -360.0f}, {639.0f, 359.0f}, {200.0f, -100.0f}})
        ExpectColour(PixelAtWorld(x, y), ClearColour, "empty world");
}

// What one frame shows for a small scene: each case builds its objects and names the
// pixels (world points) it expects.
TEST_F(SpriteDrawing, ScenesShowWhatTheSpritePassDraws)
{
    struct Probe {
        float x, y;
        Rgba colour;
        const char* what;
    };
    struct Case {
        const char* name;
        std::function<void(SpriteDrawing&)> build;
        std::vector<Probe> probes;
    };
    const Rgba tinted = {100, 100, 25, 255};  // ochre x (0.5, 1, 0.5)
    const std::vector<Case> cases = {
        {"textured sprite tinted by its colour",
         [](SpriteDrawing& t) { t.AddSprite(100, 50, 0, 20, 10, "ochre.png", {128, 255, 128, 255}); },
         {{100, 50, tinted, "centre"}, {81, 41, tinted, "inside a corner"}, {121, 50, ClearColour, "right of it"},
          {100, 61, ClearColour, "above it"}}},
        {"missing image shows the debug image untinted",
         [](SpriteDrawing& t) { t.AddSprite(0, 0, 0, 20, 20, "nowhere.png", {0, 0, 255, 40}); },
         {{0, 0, Magenta, "centre"}}},
        {"name that differs in case is missing too",
         [](SpriteDrawing& t) { t.AddSprite(0, 0, 0, 20, 20, "Ochre.png"); },
         {{0, 0, Magenta, "centre"}}},
        {"alpha 0 hides a sprite",
         [](SpriteDrawing& t) { t.AddSprite(0, 0, 0, 20, 20, "ochre.png", {255, 255, 255, 0}); },
         {{0, 0, ClearColour, "centre"}}},
        {"half alpha blends over the clear colour",
         [](SpriteDrawing& t) { t.AddSprite(0, 0, 0, 20, 20, "white.png", {0, 0, 0, 128}); },
         {{0, 0, Rgba{76, 127, 127, 255}, "centre"}}},
        {"negative scale on one axis turns the quad's back to the camera",
         [](SpriteDrawing& t) {
             t.AddSprite(-100, 0, 0, -20, 20, "ochre.png");
             t.AddSprite(100, 0, 0, 20, -20, "ochre.png");
             t.AddSprite(0, 100, 0, -20, -20, "ochre.png");  // both axes: a half turn, still in front
         },
         {{-100, 0, ClearColour, "x mirrored"}, {100, 0, ClearColour, "y mirrored"}, {0, 100, Ochre, "both"}}},
        {"at the same depth the lower id wins",
         [](SpriteDrawing& t) {
             t.AddSprite(0, 0, 0, 20, 20, "ochre.png");
             t.AddSprite(10, 0, 0, 20, 20, "debug.png");
         },
         {{5, 0, Ochre, "overlap"}, {25, 0, Magenta, "second alone"}}},
        {"a nearer sprite with a higher id covers a farther one",
         [](SpriteDrawing& t) {
             t.AddSprite(0, 0, 5, 20, 20, "ochre.png");
             t.AddSprite(10, 0, -5, 20, 20, "debug.png");
         },
         {{5, 0, Magenta, "overlap"}}},
        {"depth range runs from z -10 to just short of 90",
         [](SpriteDrawing& t) {
             t.AddSprite(-300, 0, -10.0f, 10, 10, "ochre.png");
             t.AddSprite(-200, 0, -10.5f, 10, 10, "ochre.png");
             t.AddSprite(200, 0, 89.0f, 10, 10, "ochre.png");
             t.AddSprite(300, 0, 90.0f, 10, 10, "ochre.png");  // depth 1 is not less than the cleared 1
         },
         {{-300, 0, Ochre, "z -10"}, {-200, 0, ClearColour, "z -10.5"}, {200, 0, Ochre, "z 89"},
          {300, 0, ClearColour, "z 90"}}},
        {"triangle and disc meshes",
         [](SpriteDrawing& t) {
             t.AddSprite(-200, 0, 0, 40, 40, "white.png", {255, 255, 255, 255}, 1);
             t.AddSprite(200, 0, 0, 40, 40, "white.png", {255, 255, 255, 255}, 2);
             t.AddSprite(0, 200, 0, 40, 40, "white.png", {255, 255, 255, 255}, 7);  // no such mesh
         },
         {{-200, 30, Rgba{255, 255, 255, 255}, "triangle near its apex"},
          {-230, 30, ClearColour, "beside the apex"},
          {200 + 36 * std::cos(0.65f), 36 * std::sin(0.65f), Rgba{255, 255, 255, 255}, "disc's last wedge"},
          {200 + 36 * std::cos(0.1f), 36 * std::sin(0.1f), Rgba{255, 255, 255, 255}, "disc's first wedge"},
          {236, 36, ClearColour, "outside the disc"},
          {0, 200, ClearColour, "unknown mesh index"}}},
        {"runs of triangles and of discs, each run one draw",
         [](SpriteDrawing& t) {
             for (int i = 0; i < 3; ++i)
                 t.AddSprite(-300.0f + 100.0f * static_cast<float>(i), 100, 0, 30, 30, "white.png",
                             {255, 255, 255, 255}, 1);
             for (int i = 0; i < 3; ++i)
                 t.AddSprite(-300.0f + 100.0f * static_cast<float>(i), -100, 0, 30, 30, "white.png",
                             {255, 255, 255, 255}, 2);
         },
         {{-300, 120, Rgba{255, 255, 255, 255}, "first triangle's apex"},
          {-100, 120, Rgba{255, 255, 255, 255}, "third triangle's apex"},
          {-125, 120, ClearColour, "beside the third apex"},
          {-100 + 27 * std::cos(0.65f), -100 + 27 * std::sin(0.65f), Rgba{255, 255, 255, 255}, "third disc's last wedge"},
          {-200 + 27 * std::cos(0.1f), -100 + 27 * std::sin(0.1f), Rgba{255, 255, 255, 255}, "second disc's first wedge"},
          {-73, -73, ClearColour, "outside the third disc"},
          {0, -100, ClearColour, "past the last disc"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.build(*this);
        RenderFrame();
        for (const Probe& probe : c.probes)
            ExpectColour(PixelAtWorld(probe.x, probe.y), probe.colour, probe.what);
        const std::uint32_t highest = Engine::GameObjectTable::Instance().highestUsed;
        for (std::uint32_t id = 0; id <= highest; ++id)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
    }
}

TEST_F(SpriteDrawing, AnimatedSpriteShowsItsCellOfTheSheet)
{
    auto& animations = Engine::GetSystem<Engine::AnimationUpdate>()->animations;
    animations["Walk"] = Engine::AnimationData{8, 2, 4, 0.1f, true, "sheet.png"};
    animations["Lost"] = Engine::AnimationData{8, 2, 4, 0.1f, true, "gone.png"};
    struct Case {
        const char* handle;
        float u, v;
        Rgba colour;
    };
    const Case cases[] = {
        {"Walk", 0.0f, 0.0f, SheetCell(0, 0)},
        {"Walk", 0.25f, 0.5f, SheetCell(8, 8)},  // frame 5: column 1 of the lower row
        {"Walk", 0.75f, 0.0f, SheetCell(24, 0)},
        {"Lost", 0.25f, 0.5f, Magenta},     // a sheet that is not loaded falls back
        {"Unknown", 0.0f, 0.0f, Magenta},   // no definition: no cells, the fallback image
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.handle) + " " + std::to_string(c.u) + " " + std::to_string(c.v));
        // The sprite's own texture is not used while it has an Animation.
        const std::uint32_t id = AddSprite(0, 0, 0, 40, 40, "ochre.png");
        Engine::ComponentStore::Instance().AddComponent<Engine::Animation>(id);
        Engine::Animation& animation = *Engine::ComponentStore::Instance().GetComponent<Engine::Animation>(id);
        animation.Handle = c.handle;
        animation.u = c.u;
        animation.v = c.v;
        RenderFrame();
        ExpectColour(PixelAtWorld(0, 0), c.colour, "cell centre");
        Engine::GameObjectTable::Instance().RemoveGameObject(id);
    }
    // Drawing only reads the table: a handle without a definition shows the fallback image and
    // is not added (the animation update adds it, as its own lookup does).
    EXPECT_EQ(animations.count("Unknown"), 0u);
}

TEST_F(SpriteDrawing, ParticlesDrawOverSpritesInTheirOwnPass)
{
    // An opaque sprite behind a half-transparent particle: the particle blends over the
    // sprite only if the sprite was drawn first.
    AddSprite(0, 0, 5, 20, 20, "ochre.png");
    auto& particles = Engine::GetSystem<Engine::ParticleSystem>()->particles;
    Engine::Particle particle;
    particle.x = 0;
    particle.y = 0;
    particle.z = 0;
    particle.scaleX = 5;
    particle.scaleY = 5;
    particle.texture = "white.png";
    particle.color[3] = 0.5f;
    particle.alive = true;
    particles.push_back(particle);
    particle.x = 100;
    particle.texture = "missing.png";
    particles.push_back(particle);
    particle.x = -100;
    particle.alive = false;
    particles.push_back(particle);

    RenderFrame();
    ExpectColour(PixelAtWorld(0, 0), Rgba{228, 178, 153, 255}, "particle over sprite");
    ExpectColour(PixelAtWorld(10, 0), Ochre, "sprite beside the particle");
    ExpectColour(PixelAtWorld(100, 0), Magenta, "particle with a missing image");
    ExpectColour(PixelAtWorld(-100, 0), ClearColour, "dead particle");
}

// Many sprites in runs of one image, runs longer than one draw call holds: however the
// sprites are grouped into draw calls, each overlap shows the lower id.
TEST_F(SpriteDrawing, LongRunsOfSpritesKeepTheirDrawOrder)
{
    const char* textures[] = {"ochre.png", "debug.png", "white.png"};
    for (int i = 0; i < 500; ++i) {
        const float x = static_cast<float>((i % 50) * 20 - 500);
        const float y = static_cast<float>((i / 50) * 20 - 100);
        AddSprite(x, y, 0, 12, 12, textures[(i / 70) % 3]);  // each overlaps its right neighbour
    }
    RenderFrame();
    for (int i = 0; i < 500; ++i) {
        if (i % 50 == 49)
            continue;
        const float x = static_cast<float>((i % 50) * 20 - 500) + 10.0f;  // in the overlap with i + 1
        const float y = static_cast<float>((i / 50) * 20 - 100);
        const std::string texture = textures[(i / 70) % 3];
        const Rgba expected = texture == "ochre.png" ? Ochre : texture == "debug.png" ? Magenta : Rgba{255, 255, 255, 255};
        ExpectColour(PixelAtWorld(x, y), expected, ("overlap after sprite " + std::to_string(i)).c_str());
    }
}

#include "graphics/SpritePass.h"

#include "core/Animation.h"
#include "core/AnimationTable.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/ParticleRecords.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "graphics/FrameConstants.h"
#include "graphics/Mesh.h"
#include "graphics/ShaderPrograms.h"
#include "graphics/SpriteBatcher.h"
#include "graphics/TextureList.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
const glm::mat4 Identity(1.0f);
}  // namespace

SpritePass::SpritePass(SpriteBatcher& spriteBatcher, TextureList& textureList, const ShaderPrograms& programs,
                       const glm::mat4& view, const glm::mat4& projection, int width, int height, float unitsX,
                       float unitsY)
    : batcher(spriteBatcher), textures(textureList), shaders(programs), viewProjection(view * projection),
      targetWidth(width), targetHeight(height), pixelsPerUnitX(unitsX), pixelsPerUnitY(unitsY)
{
}

namespace {

// The texel span [low, high) that can be seen along one axis of an image `size` texels long,
// as the part that can be seen and the gap inside it that cannot: the image repeats, so a
// sample next to one edge reads the texels at the other, and a span reaching past one edge
// shows again at the other.
struct SeenSpan {
    float low, high;         // the whole span that can be seen, within 0 .. size
    float gapLow, gapHigh;   // seen nowhere; empty when gapHigh <= gapLow
};

SeenSpan Seen(float low, float high, float size)
{
    if (low < 0.0f && high > size)
        return {0.0f, size, 0.0f, 0.0f};
    if (high > size)  // shows again from 0
        return {0.0f, size, high - size, std::max(low, high - size)};
    if (low < 0.0f)  // shows again up to size
        return {0.0f, size, std::min(high, size + low), size + low};
    return {low, high, 0.0f, 0.0f};
}

}  // namespace

PixelRect SpritePass::VisibleBox(const TextureRecord& record, const glm::mat4& world, float texelsPerPixel,
                                 PixelRect& gap) const
{
    gap = {};
    const Render::AlphaCover& cover = record.cover;
    if (cover.Empty())
        return {};
    // Texels the sampler may read around a sample point: its bilinear neighbour, or the
    // footprint of the smallest level a shrunk draw reads; with some to spare.
    const float reach = 2.0f + 8.0f * std::max(texelsPerPixel, 1.0f);
    const auto width = static_cast<float>(record.width);
    const auto height = static_cast<float>(record.height);
    const SeenSpan across = Seen(static_cast<float>(cover.left) - reach, static_cast<float>(cover.right) + reach, width);
    const SeenSpan down = Seen(static_cast<float>(cover.top) - reach, static_cast<float>(cover.bottom) + reach, height);
    // Texture (u, v) with v = 0 at the image's top lies at object (2u - 1, 1 - 2v) on the quad.
    const auto box = [&](float left, float top, float right, float bottom) {
        return Outward(OnTarget(world, 2.0f * left / width - 1.0f, 1.0f - 2.0f * top / height),
                       OnTarget(world, 2.0f * right / width - 1.0f, 1.0f - 2.0f * bottom / height));
    };
    // The gap, shrunk by the widening Outward gives the boxes, so that it holds only pixels
    // that surely show nothing; the larger of the two axes' gaps is kept.
    const auto inward = [](PixelRect wide) {
        return PixelRect{wide.left + 4, wide.bottom + 4, wide.right - 4, wide.top - 4};
    };
    PixelRect acrossGap;
    PixelRect downGap;
    if (across.gapHigh > across.gapLow)
        acrossGap = inward(box(across.gapLow, down.low, across.gapHigh, down.high));
    if (down.gapHigh > down.gapLow)
        downGap = inward(box(across.low, down.gapLow, across.high, down.gapHigh));
    gap = acrossGap.Area() >= downGap.Area() ? acrossGap : downGap;
    return box(across.low, down.low, across.high, down.high);
}

glm::vec2 SpritePass::OnTarget(const glm::mat4& world, float x, float y) const
{
    const glm::vec4 clip = glm::vec4(x, y, 0.0f, 1.0f) * world * viewProjection;
    return glm::vec2((clip.x + 1.0f) * 0.5f * static_cast<float>(targetWidth),
                     (clip.y + 1.0f) * 0.5f * static_cast<float>(targetHeight));
}

PixelRect SpritePass::Outward(const glm::vec2& a, const glm::vec2& b)
{
    // Two pixels more on every side for the rounding of the positions.
    return {static_cast<int>(std::floor(std::min(a.x, b.x))) - 2, static_cast<int>(std::floor(std::min(a.y, b.y))) - 2,
            static_cast<int>(std::ceil(std::max(a.x, b.x))) + 2, static_cast<int>(std::ceil(std::max(a.y, b.y))) + 2};
}

PixelRect SpritePass::Bounds(const glm::mat4& world) const
{
    // Every mesh lies within -1 .. 1 of object space on both axes.
    const glm::vec2 corners[4] = {OnTarget(world, -1.0f, -1.0f), OnTarget(world, 1.0f, -1.0f),
                                  OnTarget(world, -1.0f, 1.0f), OnTarget(world, 1.0f, 1.0f)};
    PixelRect box = Outward(corners[0], corners[3]);
    return box.Union(Outward(corners[1], corners[2]));
}

PixelRect SpritePass::SolidBox(const glm::mat4& world) const
{
    // The pixels wholly inside the quad (and one more in from each edge for rounding): their
    // centres are inside, so the quad is drawn on every one of them.
    const glm::vec2 a = OnTarget(world, -1.0f, -1.0f);
    const glm::vec2 b = OnTarget(world, 1.0f, 1.0f);
    return {static_cast<int>(std::ceil(std::min(a.x, b.x))) + 1, static_cast<int>(std::ceil(std::min(a.y, b.y))) + 1,
            static_cast<int>(std::floor(std::max(a.x, b.x))) - 1, static_cast<int>(std::floor(std::max(a.y, b.y))) - 1};
}

void SpritePass::Queue(int mesh, const std::string& textureName, const glm::mat4& world,
                       const glm::mat4& textureTransform, const float colour[4], float scaleX, float scaleY,
                       float columns, float rows)
{
    bool usePixelShader = false;
    TextureRecord* record = textures.FindForDraw(textureName, usePixelShader);
    // The triangle and the disc show one texel: they never read a smaller level.
    DrawReach reach;
    reach.visible = Bounds(world);
    reach.fullSizeOnly = true;
    // A sprite is flat at its z; the depth is the same on every pixel when the camera's depth
    // depends on world z alone, as the game's camera's does.
    // (glm's vector x matrix takes column i for coordinate i: column 2 gives the depth, 3 the w.)
    const glm::vec4& depthOfPoint = viewProjection[2];
    reach.depthKnown = depthOfPoint.x == 0.0f && depthOfPoint.y == 0.0f && depthOfPoint.z > 0.0f &&
                       viewProjection[3] == glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    reach.depth = depthOfPoint.z * world[2][3] + depthOfPoint.w;  // world[2][3]: the sprite's z
    // Only the quad spreads the image over its face.
    if (record != nullptr && mesh == QuadMesh) {
        // The quad spans two units of object space along each axis.
        const float pixelsWide = 2.0f * std::fabs(scaleX) * pixelsPerUnitX;
        const float pixelsHigh = 2.0f * std::fabs(scaleY) * pixelsPerUnitY;
        const float texelsPerPixel = std::max(static_cast<float>(record->width) / columns / pixelsWide,
                                              static_cast<float>(record->height) / rows / pixelsHigh);
        // Without rotation the quad's edges run along the target's rows and columns.
        const bool axisAligned = world[0][1] == 0.0f && world[1][0] == 0.0f;
        textures.PrepareForDraw(*record, texelsPerPixel, axisAligned);
        reach.fullSizeOnly = record->oneColour || !TextureList::ReadsSmallerLevels(texelsPerPixel, axisAligned);
        // Upright and showing the whole image: the clear texels around what can be seen are cut.
        if (axisAligned && textureTransform == Identity)
            reach.visible = reach.visible.Intersection(VisibleBox(*record, world, texelsPerPixel, reach.gap));
        // Upright and not turned over (a quad scaled negatively on one axis is culled): a fully
        // opaque image at full colour alpha writes every pixel inside it.
        reach.opaque = record->cover.opaque && (!usePixelShader || colour[3] == 1.0f);
        if (reach.opaque && axisAligned && world[0][0] > 0.0f && world[1][1] > 0.0f)
            reach.solid = SolidBox(world);
    }
    // The tinting shader drops every pixel of a sprite whose colour alpha is 0.
    if (usePixelShader && colour[3] == 0.0f)
        return;
    batcher.QueueDraw(mesh, usePixelShader ? shaders.spriteProgram : shaders.fallbackProgram,
                      record != nullptr ? record->view : 0, world, textureTransform, colour, reach);
}

void SpritePass::QueueSprites()
{
    // Sprites in object-id order: nothing is sorted, as the depth test and blending make the
    // order visible where sprites overlap.
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    const Engine::AnimationTable& sheets = Engine::AnimationTable::Instance();
    static const std::string noTexture;
    const std::uint32_t highest = Engine::GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= highest && id < Engine::MaxGameObjects; ++id) {
        const Engine::Sprite* sprite = store.GetComponent<Engine::Sprite>(id);
        if (sprite == nullptr)
            continue;
        const Engine::Transform* transform = store.GetComponent<Engine::Transform>(id);
        // Without a Transform there is nowhere to draw; other mesh indices have no mesh.
        if (transform == nullptr || sprite->MeshIndex < 0 || sprite->MeshIndex >= MeshCount)
            continue;
        const glm::mat4 world = WorldMatrix(transform->x_pos, transform->y_pos, transform->z_pos, transform->x_sca,
                                            transform->y_sca, transform->rot);
        const Engine::Animation* cell = store.GetComponent<Engine::Animation>(id);
        if (cell == nullptr) {
            Queue(sprite->MeshIndex, sprite->Texture, world, Identity, sprite->Color, transform->x_sca,
                  transform->y_sca, 1.0f, 1.0f);
            continue;
        }
        const Engine::AnimationData& sheet = sheets.Find(cell->Handle);
        const auto columns = static_cast<std::uint32_t>(sheet.columns);
        const auto rows = static_cast<std::uint32_t>(sheet.rows);
        if (columns == 0 || rows == 0) {
            // An animation without cells has no sheet to show: the whole fallback image is drawn.
            Queue(sprite->MeshIndex, noTexture, world, Identity, sprite->Color, transform->x_sca, transform->y_sca,
                  1.0f, 1.0f);
            continue;
        }
        Queue(sprite->MeshIndex, sheet.spriteSheet, world, SheetCellTransform(columns, rows, cell->u, cell->v),
              sprite->Color, transform->x_sca, transform->y_sca, static_cast<float>(columns), static_cast<float>(rows));
    }
}

void SpritePass::QueueParticles()
{
    for (const Engine::Particle& particle : Engine::ParticleRecords::Instance().particles) {
        if (!particle.alive)
            continue;
        Queue(QuadMesh, particle.texture,
              WorldMatrix(particle.x, particle.y, particle.z, particle.scaleX, particle.scaleY, particle.rotation),
              Identity, particle.color, particle.scaleX, particle.scaleY, 1.0f, 1.0f);
    }
}

#include "graphics/SpritePass.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/ParticleSystem.h"
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

PixelRect SpritePass::VisibleBox(const TextureRecord& record, const glm::mat4& world, float texelsPerPixel) const
{
    const Render::AlphaCover& cover = record.cover;
    if (cover.Empty())
        return {};
    // Texels the sampler may read around a sample point: its bilinear neighbour, or the
    // footprint of the smallest level a shrunk draw reads; with some to spare.
    const float reach = 2.0f + 8.0f * std::max(texelsPerPixel, 1.0f);
    float left = static_cast<float>(cover.left) - reach;
    float right = static_cast<float>(cover.right) + reach;
    float top = static_cast<float>(cover.top) - reach;
    float bottom = static_cast<float>(cover.bottom) + reach;
    // The image repeats: a sample next to one edge reads texels at the other.
    const auto width = static_cast<float>(record.width);
    const auto height = static_cast<float>(record.height);
    if (left < 0.0f || right > width) {
        left = 0.0f;
        right = width;
    }
    if (top < 0.0f || bottom > height) {
        top = 0.0f;
        bottom = height;
    }
    // Texture (u, v) with v = 0 at the image's top lies at object (2u - 1, 1 - 2v) on the quad.
    const auto onTarget = [&](float u, float v) {
        const glm::vec4 clip = glm::vec4(2.0f * u - 1.0f, 1.0f - 2.0f * v, 0.0f, 1.0f) * world * viewProjection;
        return glm::vec2((clip.x + 1.0f) * 0.5f * static_cast<float>(targetWidth),
                         (clip.y + 1.0f) * 0.5f * static_cast<float>(targetHeight));
    };
    const glm::vec2 a = onTarget(left / width, top / height);
    const glm::vec2 b = onTarget(right / width, bottom / height);
    // A pixel more on every side for the rounding of the positions.
    const auto outward = [](float low, float high, int& first, int& last) {
        first = static_cast<int>(std::floor(std::min(low, high))) - 2;
        last = static_cast<int>(std::ceil(std::max(low, high))) + 2;
    };
    PixelRect box;
    outward(a.x, b.x, box.left, box.right);
    outward(a.y, b.y, box.bottom, box.top);
    return box;
}

void SpritePass::Queue(int mesh, const std::string& textureName, const glm::mat4& world,
                       const glm::mat4& textureTransform, const float colour[4], float scaleX, float scaleY,
                       float columns, float rows)
{
    bool usePixelShader = false;
    TextureRecord* record = textures.FindForDraw(textureName, usePixelShader);
    // The triangle and the disc show one texel: they never read a smaller level.
    DrawReach reach{{0, 0, targetWidth, targetHeight}, true};
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
            reach.visible = VisibleBox(*record, world, texelsPerPixel);
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
    Engine::AnimationUpdate* animation = Engine::GetSystem<Engine::AnimationUpdate>();
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
        if (cell == nullptr || animation == nullptr) {
            Queue(sprite->MeshIndex, sprite->Texture, world, Identity, sprite->Color, transform->x_sca,
                  transform->y_sca, 1.0f, 1.0f);
            continue;
        }
        const Engine::AnimationData& sheet = animation->Definition(cell->Handle);
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
    const Engine::ParticleSystem* particles = Engine::GetSystem<Engine::ParticleSystem>();
    if (particles == nullptr)
        return;
    for (const Engine::Particle& particle : particles->particles) {
        if (!particle.alive)
            continue;
        Queue(QuadMesh, particle.texture,
              WorldMatrix(particle.x, particle.y, particle.z, particle.scaleX, particle.scaleY, particle.rotation),
              Identity, particle.color, particle.scaleX, particle.scaleY, 1.0f, 1.0f);
    }
}

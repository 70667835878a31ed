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
                       float unitsX, float unitsY)
    : batcher(spriteBatcher), textures(textureList), shaders(programs), pixelsPerUnitX(unitsX), pixelsPerUnitY(unitsY)
{
}

void SpritePass::Queue(int mesh, const std::string& textureName, const glm::mat4& world,
                       const glm::mat4& textureTransform, const float colour[4], float scaleX, float scaleY,
                       float columns, float rows)
{
    bool usePixelShader = false;
    TextureRecord* record = textures.FindForDraw(textureName, usePixelShader);
    // Only the quad spreads the image over its face; the triangle and the disc show one texel.
    if (record != nullptr && mesh == QuadMesh) {
        // The quad spans two units of object space along each axis.
        const float pixelsWide = 2.0f * std::fabs(scaleX) * pixelsPerUnitX;
        const float pixelsHigh = 2.0f * std::fabs(scaleY) * pixelsPerUnitY;
        const float texelsPerPixel = std::max(static_cast<float>(record->width) / columns / pixelsWide,
                                              static_cast<float>(record->height) / rows / pixelsHigh);
        // Without rotation the quad's edges run along the target's rows and columns.
        const bool axisAligned = world[0][1] == 0.0f && world[1][0] == 0.0f;
        textures.PrepareForDraw(*record, texelsPerPixel, axisAligned);
    }
    batcher.QueueDraw(mesh, usePixelShader ? shaders.spriteProgram : shaders.fallbackProgram,
                      record != nullptr ? record->view : 0, world, textureTransform, colour);
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

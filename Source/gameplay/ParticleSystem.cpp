#include "gameplay/ParticleSystem.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/FrameTime.h"
#include "core/Log.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "gameplay/RandomDraws.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace Engine {

namespace {
const char* const ParticleTexture = "Empty.png";
constexpr float KillZoneColor[4] = {0.4549f, 0.0313f, 0.7176f, 1.0f};
constexpr float ShrinkPerUpdate = 0.05f;
constexpr int TrailSpeedStep = 500;  // units per second of x speed for each step of colour shift

// Every particle function of the system draws from this one engine, seeded once.
RandomDraws& ParticleDraws()
{
    static RandomDraws draws;
    return draws;
}

// Seconds between two particles. A rate of 0 (or below) spawns once and then never again.
float SpawnInterval(float rate)
{
    return rate > 0.0f ? 1.0f / rate : std::numeric_limits<float>::infinity();
}

// Whole steps of TrailSpeedStep in the x speed, truncated toward zero.
int TrailColourShift(float xVelocity)
{
    // Clamped first: a speed beyond int would make the truncation undefined, and so would NaN,
    // which no clamp holds.
    if (std::isnan(xVelocity))
        return 0;
    constexpr float limit = 2.0e9f;
    const int speed = static_cast<int>(std::clamp(xVelocity, -limit, limit));
    return std::abs(speed / TrailSpeedStep);
}

// The followed object; an id past the table (no player) finds nothing.
std::uint32_t PlayerId() { return static_cast<std::uint32_t>(Camera::Instance()->followedObjectId); }

const Transform* PlayerTransform() { return ComponentStore::Instance().GetComponent<Transform>(PlayerId()); }

const Sprite* PlayerSprite() { return ComponentStore::Instance().GetComponent<Sprite>(PlayerId()); }
}  // namespace

void ParticleSystem::Init() {}

void ParticleSystem::Update()
{
    const float dt = FrameDeltaTime;
    RefreshPlayerTrail();
    SpawnParticles(dt);
    AgeParticles(dt);

    // Dead particles are only skipped until the periodic compaction, which keeps the order.
    if (frameCounter >= compactionInterval) {
        std::erase_if(particles, [](const Particle& particle) { return !particle.alive; });
        frameCounter = 0;
    }
    ++frameCounter;
}

// Slot 0 is the player's trail: it follows the player and shifts from blue to red with speed.
void ParticleSystem::RefreshPlayerTrail()
{
    if (emitters.empty())
        return;
    const Transform* transform = PlayerTransform();
    const Sprite* sprite = PlayerSprite();
    if (transform == nullptr || sprite == nullptr)
        return;

    ParticleEmitter& trail = emitters[0];
    const float x = transform->x_pos;
    const float y = transform->y_pos;
    const float z = transform->z_pos;
    trail.origin[0] = x;
    trail.origin[1] = y;
    trail.origin[2] = z;
    trail.init = [x, y, z](Particle* particle) {
        RandomDraws& random = ParticleDraws();
        particle->x = x;
        particle->y = y;
        particle->z = z;
        particle->x += random.Uniform(-15.0f, 15.0f);
        particle->y += random.Uniform(-15.0f, 15.0f);
        particle->z += 1.0f;
    };
    trail.texture = ParticleTexture;
    std::copy(std::begin(sprite->Color), std::end(sprite->Color), trail.color);
    if (const Controller* controller = ComponentStore::Instance().GetComponent<Controller>(PlayerId())) {
        const int shift = TrailColourShift(controller->x_vel);
        trail.color[2] -= static_cast<float>(shift);
        trail.color[0] += static_cast<float>(shift);
    }
    trail.lifetime = 1.0f;
}

void ParticleSystem::SpawnParticles(float dt)
{
    // By index: an emitter's init may add emitters and so move the table.
    for (std::size_t index = 0; index < emitters.size(); ++index) {
        if (!emitters[index].active)
            continue;
        ParticleEmitter& emitter = emitters[index];
        emitter.spawnTimer -= dt;
        if (emitter.spawnTimer > 0.0f)
            continue;
        // Reset, not added: at most one particle per emitter per update, the overshoot dropped.
        emitter.spawnTimer = SpawnInterval(emitter.rate);

        Particle particle;
        particle.x = emitter.particleTemplate[0];
        particle.y = emitter.particleTemplate[1];
        particle.z = emitter.particleTemplate[2];
        particle.scaleX = emitter.particleTemplate[3];
        particle.scaleY = emitter.particleTemplate[4];
        particle.rotation = emitter.particleTemplate[5];
        particle.texture = emitter.texture;
        std::copy(std::begin(emitter.color), std::end(emitter.color), particle.color);
        particle.update = emitter.update;
        particle.life = emitter.lifetime;
        particle.alive = true;
        if (emitter.init) {
            const auto init = emitter.init;  // the call may move the emitter it came from
            init(&particle);
        }
        particles.push_back(std::move(particle));
    }
}

void ParticleSystem::AgeParticles(float dt)
{
    // By index and re-read: an update function may spawn effects that move the array. The
    // records themselves stay where they are, so their address is looked up once.
    std::vector<Particle>& live = particles;
    for (std::size_t index = 0; index < live.size(); ++index) {
        if (!live[index].alive)
            continue;
        if (live[index].update) {
            const auto update = live[index].update;
            update(&live[index]);
        }
        live[index].life -= dt;
    }
    for (Particle& particle : live) {
        if (particle.life <= 0.0f)
            particle.alive = false;
    }
}

void ParticleSystem::Shutdown() {}

void ParticleSystem::ShrinkAndDie(Particle* particle)
{
    if (particle->scaleX > 0.0f)
        particle->scaleX -= ShrinkPerUpdate;
    if (particle->scaleY > 0.0f)
        particle->scaleY -= ShrinkPerUpdate;
    if (particle->scaleX <= 0.0f && particle->scaleY <= 0.0f)
        particle->alive = false;
}

int ParticleSystem::AddEmitter(const ParticleEmitter& emitter)
{
    if (emitter.rate < 0.0f)
        LogWarn("Particle emitter with a negative rate ({}) spawns one particle only", emitter.rate);
    std::size_t slot = 0;
    while (slot < emitters.size() && emitters[slot].active)
        ++slot;
    if (slot == emitters.size())
        emitters.push_back(emitter);
    else
        emitters[slot] = emitter;
    emitters[slot].active = true;
    emitters[slot].serial = ++lastSerial;
    return static_cast<int>(slot);
}

bool ParticleSystem::RemoveEmitter(unsigned index)
{
    if (index >= emitters.size())
        return false;
    emitters[index].active = false;
    return true;
}

void ParticleSystem::CreateKillZoneEmitter(int objectId)
{
    const auto id = static_cast<std::uint32_t>(objectId);  // a negative id lands past the table
    const Transform* transform = ComponentStore::Instance().GetComponent<Transform>(id);
    if (transform == nullptr)
        return;
    const float x = transform->x_pos;
    const float y = transform->y_pos;
    const float scaleX = transform->x_sca;
    const float scaleY = transform->y_sca;

    ParticleEmitter emitter;
    emitter.origin[0] = x;
    emitter.origin[1] = y;
    emitter.origin[2] = 0.0f;
    emitter.rate = 100.0f;
    emitter.texture = ParticleTexture;
    emitter.lifetime = 0.5f;
    const float particleTemplate[6] = {x, y, 0.0f, 5.0f, 5.0f, 0.0f};
    std::copy(std::begin(particleTemplate), std::end(particleTemplate), emitter.particleTemplate);
    std::copy(std::begin(KillZoneColor), std::end(KillZoneColor), emitter.color);
    // Spread over the zone's width, half its height above its centre.
    emitter.init = [x, y, scaleX, scaleY](Particle* particle) {
        RandomDraws& random = ParticleDraws();
        particle->x = x + random.Uniform(-scaleX, scaleX);
        particle->y = y + 0.5f * scaleY;
        particle->z = 0.0f;
    };
    // Rise, jitter sideways and shrink until the half-second life ends.
    emitter.update = [](Particle* particle) {
        RandomDraws& random = ParticleDraws();
        particle->scaleX -= ShrinkPerUpdate;
        particle->scaleY -= ShrinkPerUpdate;
        particle->y += random.Uniform(0.5f, 1.0f);
        particle->x += random.Uniform(-1.5f, 1.5f);
    };
    AddEmitter(emitter);
}

void ParticleSystem::CreatePlayerTrail(float r, float g, float b, float a)
{
    // Only the trail itself goes: after a level load emptied the table the slot may hold another emitter.
    if (trailIndex >= 0) {
        const auto previous = static_cast<unsigned>(trailIndex);
        if (previous < emitters.size() && emitters[previous].serial == trailSerial)
            RemoveEmitter(previous);
    }

    ParticleEmitter emitter;
    emitter.rate = 100.0f;
    emitter.texture = ParticleTexture;
    emitter.lifetime = 1.0f;
    emitter.particleTemplate[3] = 3.0f;
    emitter.particleTemplate[4] = 3.0f;
    const float requested[4] = {r, g, b, a};
    std::copy(std::begin(requested), std::end(requested), emitter.color);
    if (r == 0.0f && g == 0.0f && b == 0.0f && a == 0.0f) {
        if (const Sprite* sprite = PlayerSprite())
            std::copy(std::begin(sprite->Color), std::end(sprite->Color), emitter.color);
    }
    emitter.init = [](Particle* particle) {
        RandomDraws& random = ParticleDraws();
        if (const Transform* transform = PlayerTransform()) {
            particle->x = transform->x_pos;
            particle->y = transform->y_pos;
            particle->z = transform->z_pos;
        }
        particle->x += random.Uniform(-15.0f, 15.0f);
        particle->y += random.Uniform(-15.0f, 15.0f);
    };
    emitter.update = ShrinkAndDie;

    trailIndex = AddEmitter(emitter);
    trailSerial = emitters[static_cast<std::size_t>(trailIndex)].serial;
}

}  // namespace Engine

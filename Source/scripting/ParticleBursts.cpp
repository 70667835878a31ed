#include "scripting/ParticleBursts.h"

#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "gameplay/RandomDraws.h"

#include <algorithm>
#include <iterator>

namespace Engine {

namespace {
constexpr const char* BurstTexture = "Empty.png";
constexpr float GrowthPerUpdate = 0.05f;  // both scales, per update (not per second)
constexpr float FullSize = 6.0f;          // a particle dies once either scale reaches it

// Every burst particle draws from this one engine, seeded once.
RandomDraws& BurstDraws()
{
    static RandomDraws draws;
    return draws;
}

void GrowAndDie(Particle* particle)
{
    particle->scaleX += GrowthPerUpdate;
    particle->scaleY += GrowthPerUpdate;
    if (particle->scaleX >= FullSize || particle->scaleY >= FullSize)
        particle->alive = false;
}

void SparkUpdate(Particle* particle)
{
    RandomDraws& random = BurstDraws();
    GrowAndDie(particle);
    particle->y += 1.5f;
    particle->x += random.Uniform(0.0f, 3.0f) - 1.5f;
}

void DeathPuffUpdate(Particle* particle)
{
    RandomDraws& random = BurstDraws();
    GrowAndDie(particle);
    particle->y += random.Uniform(0.0f, 30.0f) * 0.5f + 3.5f;
    particle->x += random.Uniform(0.0f, 30.0f) - 15.5f;
}
}  // namespace

const ParticleBurstKind SparkBurst{10.0f, {1.0f, 1.0f, 0.4f, 1.0f}, 2.0f, 1000, 3.0f, &SparkUpdate};
const ParticleBurstKind DeathBurst{1000.0f, {0.4549f, 0.0313f, 0.7176f, 1.0f}, 0.5f, 500, 10.0f, &DeathPuffUpdate};

ParticleEmitter BurstEmitter(const ParticleBurstKind& kind, float x, float y)
{
    ParticleEmitter emitter;
    emitter.origin[0] = x;
    emitter.origin[1] = y;
    emitter.origin[2] = 0.0f;
    emitter.rate = kind.rate;
    emitter.texture = BurstTexture;
    const float particleTemplate[6] = {x, y, 0.0f, 3.0f, 3.0f, 0.0f};
    std::copy(std::begin(particleTemplate), std::end(particleTemplate), emitter.particleTemplate);
    std::copy(std::begin(kind.color), std::end(kind.color), emitter.color);
    emitter.lifetime = kind.life;

    const float spread = kind.spawnSpread;
    emitter.init = [x, y, spread](Particle* particle) {
        RandomDraws& random = BurstDraws();
        particle->x = x;
        particle->y = y;
        particle->z = 0.0f;
        particle->x += random.Uniform(0.0f, spread) - spread * 0.5f;
        particle->y += random.Uniform(0.0f, spread) - spread * 0.5f;
    };
    emitter.update = kind.update;
    return emitter;
}

int StartParticleBurst(const ParticleBurstKind& kind, float x, float y)
{
    ParticleSystem* particles = GetSystem<ParticleSystem>();
    const int slot = particles->AddEmitter(BurstEmitter(kind, x, y));
    const std::uint64_t serial = particles->emitters[static_cast<std::size_t>(slot)].serial;
    // A level load in between empties the table and a later emitter (the new level's trail,
    // say) may hold the slot by then: only this burst's own emitter is removed.
    AddTimer<DelayCallTimer>(kind.emitMs, [slot, serial] {
        ParticleSystem* system = GetSystem<ParticleSystem>();
        const auto index = static_cast<std::size_t>(slot);
        if (index < system->emitters.size() && system->emitters[index].serial == serial)
            system->RemoveEmitter(static_cast<unsigned>(slot));
    });
    return slot;
}

}  // namespace Engine

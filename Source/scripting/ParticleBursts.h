// The two short particle bursts that scripts start with ParticleBurst (yellow sparks, for
// pick-ups and skills) and ParticleDeathBurst (a purple puff where the player dies). Each
// adds its emitter to the particle system and removes it again after a fixed time; the
// particles already spawned fly on.
#pragma once

#include "gameplay/ParticleSystem.h"

#include <cstdint>

namespace Engine {

struct ParticleBurstKind {
    float rate;            // particles per second while the emitter lives
    float color[4];
    float life;            // seconds per particle
    std::int64_t emitMs;   // how long the emitter lives
    float spawnSpread;     // new particles land within +-spawnSpread/2 of the origin
    void (*update)(Particle* particle);  // run on every particle every update
};

// ParticleBurst: a few slow yellow sparks that grow as they rise.
extern const ParticleBurstKind SparkBurst;
// ParticleDeathBurst: a dense purple puff thrown up and sideways.
extern const ParticleBurstKind DeathBurst;

// The emitter of a burst at (x, y), as it is added.
ParticleEmitter BurstEmitter(const ParticleBurstKind& kind, float x, float y);

// Adds the burst's emitter and starts the timer that removes it; gives the emitter's slot.
int StartParticleBurst(const ParticleBurstKind& kind, float x, float y);

}  // namespace Engine

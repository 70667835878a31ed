// Engine::ParticleSystem (the last system of the frame): the emitters, each spawning sprite
// particles at a fixed rate into the flat array of Engine::ParticleRecords, which the renderer
// draws. Emitter slot 0 is the player's trail, refreshed from the player every frame.
#pragma once

#include "core/Particle.h"
#include "core/ParticleRecords.h"
#include "core/System.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace Engine {

struct ParticleEmitter {
    bool active = false;
    float origin[3] = {0.0f, 0.0f, 0.0f};
    float rate = 0.0f;  // particles per second
    std::string texture;
    std::function<void(Particle*)> init;    // run once on every new particle
    std::function<void(Particle*)> update;  // copied into every new particle
    float particleTemplate[6] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};  // x, y, z, scaleX, scaleY, rotation
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float lifetime = 0.0f;
    float spawnTimer = 0.0f;
    // Set by AddEmitter, unique for the program's run: lets a holder of the slot index tell its
    // own emitter from a later one in the same slot (after a removal or a level load).
    std::uint64_t serial = 0;
};

class ParticleSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Copies the emitter into the first inactive slot (or a new one) and returns its index.
    int AddEmitter(const ParticleEmitter& emitter);
    // Stops the emitter in the slot; its particles live on. False for an index past the slots.
    bool RemoveEmitter(unsigned index);
    // The rising purple sparks over a kill zone, spread over the object's x scale; never removed.
    void CreateKillZoneEmitter(int objectId);
    // Replaces the previous trail with one of this colour, or of the player's sprite colour when
    // all four are 0. The first trail after a level load takes slot 0, which Update refreshes.
    void CreatePlayerTrail(float r, float g, float b, float a);

    // The trail's particle update: both scales lose 0.05 per update while above 0, and the
    // particle dies once neither is.
    static void ShrinkAndDie(Particle* particle);

    std::vector<ParticleEmitter> emitters;  // slots are never erased: indices stay valid
    std::vector<Particle>& particles = ParticleRecords::Instance().particles;  // spawned, aged and compacted here
    int frameCounter = 0;
    int compactionInterval = 15;

private:
    void RefreshPlayerTrail();
    void SpawnParticles(float dt);
    void AgeParticles(float dt);

    std::uint64_t lastSerial = 0;
    int trailIndex = -1;  // the slot of the last CreatePlayerTrail; -1 before the first
    std::uint64_t trailSerial = 0;
};

}  // namespace Engine

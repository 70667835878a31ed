// Engine::ParticleRecords: the flat array of particles in flight. The particle system fills
// and compacts it (as its `particles`); the renderer draws the live ones, in array order.
#pragma once

#include "core/Particle.h"

#include <vector>

namespace Engine {

class ParticleRecords {
public:
    static ParticleRecords& Instance();

    std::vector<Particle> particles;  // dead ones stay, skipped, until the next compaction

    ParticleRecords(const ParticleRecords&) = delete;
    ParticleRecords& operator=(const ParticleRecords&) = delete;

private:
    ParticleRecords() = default;
};

}  // namespace Engine

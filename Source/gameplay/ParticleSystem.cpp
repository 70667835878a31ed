#include "gameplay/ParticleSystem.h"

namespace Engine {

// Bodies are filled in with the particle system's own work.
void ParticleSystem::Init() {}
void ParticleSystem::Update() {}
void ParticleSystem::Shutdown() {}
int ParticleSystem::AddEmitter(const ParticleEmitter&) { return 0; }
bool ParticleSystem::RemoveEmitter(unsigned) { return false; }
void ParticleSystem::CreateKillZoneEmitter(int) {}
void ParticleSystem::CreatePlayerTrail(float, float, float, float) {}

}  // namespace Engine

#include "gameplay/ParticleSystem.h"

namespace Engine {

void ParticleSystem::Init() {}

void ParticleSystem::Update() {}

void ParticleSystem::Shutdown() {}

}  // namespace Engine

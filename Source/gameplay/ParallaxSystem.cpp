#include "gameplay/ParallaxSystem.h"

namespace Engine {

void ParallaxSystem::Init() {}

void ParallaxSystem::Update() {}

void ParallaxSystem::Shutdown() {}

}  // namespace Engine

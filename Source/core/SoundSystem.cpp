#include "core/SoundSystem.h"

namespace Engine {

void SoundSystem::Init() {}

void SoundSystem::Update() {}

void SoundSystem::Shutdown() {}

}  // namespace Engine

#include "core/SoundSystem.h"

namespace Engine {

// Bodies are filled in with the sound service's own work.
void SoundSystem::Init() {}
void SoundSystem::Update() {}
void SoundSystem::Shutdown() {}
bool SoundSystem::LoadBank(const std::string&) { return false; }
bool SoundSystem::LoadEvent(const std::pair<std::string, std::string>&) { return false; }
void SoundSystem::PlayEvent(const std::string&) {}
void SoundSystem::StopEvent(const std::string&) {}
void SoundSystem::SetEventParameter(const std::string&, const std::string&, float) {}

}  // namespace Engine

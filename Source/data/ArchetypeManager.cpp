#include "data/ArchetypeManager.h"

namespace Engine {

void ArchetypeManager::Init() {}

void ArchetypeManager::Update() {}

void ArchetypeManager::Shutdown() {}

}  // namespace Engine

#include "core/EventManager.h"

namespace Engine {

void EventManager::Init() {}

void EventManager::Update() {}

void EventManager::Shutdown() {}

}  // namespace Engine

#include "core/EventManager.h"

namespace Engine {

void EventManager::Init() {}
void EventManager::Update() {}
void EventManager::Shutdown() {}

// Bodies are filled in with the event operations' own work.
void EventManager::AddEvent(std::uint32_t, const std::string&, const std::string&) {}
void EventManager::TriggerEvent(std::uint32_t, const std::string&) {}
void EventManager::UnRegisterEvent(std::uint32_t, const std::string&, const std::string&) {}

}  // namespace Engine

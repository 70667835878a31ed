// The game's fifteen systems in registry order: Game hands this list to the registry
// (Engine::SystemManager::UseSystemList) before its first use, and the registry runs it then.
#pragma once

namespace Engine {

class SystemManager;

// Adds the fifteen systems; their order is every frame's update order.
void AddGameSystems(SystemManager& registry);

}  // namespace Engine

#include "core/SystemManager.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/Log.h"
#include "editor/Editor.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/CollisionResolution.h"
#include "gameplay/PositionUpdate.h"
#include "gameplay/PlayerController.h"
#include "core/TimerDatabase.h"
#include "core/SoundSystem.h"
#include "scripting/ScriptManager.h"
#include "core/EventManager.h"
#include "data/ArchetypeManager.h"
#include "game/Scoreboard.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/ParallaxSystem.h"
#include "gameplay/RangeChecking.h"
#include "gameplay/ParticleSystem.h"

namespace Engine {

SystemManager& SystemManager::Instance()
{
    static SystemManager manager;
    // Init runs outside the constructor so that each Init may reach the registry itself.
    if (!manager.initialised) {
        manager.initialised = true;
        manager.InitAll();
    }
    return manager;
}

SystemManager::SystemManager() : systems(SystemCount)
{
    // Singletons die in the reverse order of their making. The services that a system's
    // Shutdown may reach at exit are made first, so they outlive the registry's teardown.
    Logging::DefaultLogger();
    Editor::Instance();
    InputManager::Instance();
    GameObjectTable::Instance();
    ComponentStore::Instance();

    // The order fixes the family ids 0 to 14 and so the order of every update.
    Add<PhysicsUpdate>("PhysicsUpdate");
    Add<CollisionUpdate>("CollisionUpdate");
    Add<CollisionResolution>("CollisionResolution");
    Add<PositionUpdate>("PositionUpdate");
    Add<PlayerController>("PlayerController");
    Add<TimerDatabase>("TimerDatabase");
    Add<SoundSystem>("SoundSystem");
    Add<ScriptManager>("ScriptManager");
    Add<EventManager>("EventManager");
    Add<ArchetypeManager>("ArchetypeManager");
    Add<Scoreboard>("Scoreboard");
    Add<AnimationUpdate>("AnimationUpdate");
    Add<ParallaxSystem>("ParallaxSystem");
    Add<RangeChecking>("RangeChecking");
    Add<ParticleSystem>("ParticleSystem");
}

SystemManager::~SystemManager()
{
    for (auto& system : systems)
        system->Shutdown();
    for (auto& system : systems)
        system.reset();
}

void SystemManager::InitAll()
{
    for (auto& system : systems)
        system->Init();
    LogInfo("Number of systems: {}", static_cast<std::uint32_t>(systems.size()));
}

void SystemManager::Update()
{
    for (auto& system : systems)
        system->Update();
}

}  // namespace Engine

#include "core/SystemManager.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/Log.h"

namespace Engine {

namespace {
constinit SystemManager::SystemList systemList = nullptr;
}  // namespace

void SystemManager::UseSystemList(SystemList list) { systemList = list; }

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
    // Shutdown may reach at exit are made first, so they outlive the registry's teardown
    // (the editor's log list is made by the first log line, at the latest the first Add's).
    Logging::DefaultLogger();
    InputManager::Instance();
    GameObjectTable::Instance();
    ComponentStore::Instance();

    assert(systemList != nullptr && "the system list is handed over before the registry's first use");
    if (systemList == nullptr) {
        LogError("The system registry was used before its list of systems was handed over");
        return;
    }
    systemList(*this);
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

// Engine::SystemManager: the registry that creates the fifteen systems in their fixed order
// on first use, runs every Init after all of them exist, updates them once per running frame
// in id order, and at exit runs every Shutdown before deleting any of them. The list of the
// systems is handed over before the first use (game/GameSystems.cpp holds it).
#pragma once

#include "core/FamilyId.h"
#include "core/Log.h"
#include "core/System.h"

#include <cassert>
#include <cstdint>
#include <memory>
#include <vector>

namespace Engine {

class SystemManager {
public:
    static constexpr std::uint32_t SystemCount = 15;

    // Adds every system in registry order, one Add each.
    using SystemList = void (*)(SystemManager& registry);
    // Hands over the list that the first Instance() runs; later uses ignore a new one.
    static void UseSystemList(SystemList list);

    static SystemManager& Instance();

    void Update();

    template <typename T>
    T* GetSystem()
    {
        const std::uint32_t id = FamilyId<SystemManager>::Of<T>();
        assert(id < SystemCount && "GetSystem of a type the registry does not create");
        return static_cast<T*>(systems[id].get());
    }

    std::vector<std::unique_ptr<System>> systems;  // index = system family id

    // The order of the calls fixes the family ids 0 to 14 and so the order of every update.
    template <typename T>
    void Add(const char* name)
    {
        const std::uint32_t id = FamilyId<SystemManager>::Of<T>();
        systems[id] = std::make_unique<T>();
        LogInfo("Adding System: {}", name);
    }

    SystemManager(const SystemManager&) = delete;
    SystemManager& operator=(const SystemManager&) = delete;

private:
    SystemManager();
    ~SystemManager();

    void InitAll();

    bool initialised = false;
};

// The system of type T in the registry.
template <typename T>
T* GetSystem()
{
    return SystemManager::Instance().GetSystem<T>();
}

}  // namespace Engine

// Engine::ScriptManager (a system of the registry): loads every Lua script of
// Resources/Scripts/ into an environment of its own and, once per running frame, calls
// `main` of each queued script with the global GameObject set to the queued object id.
#pragma once

#include "core/System.h"
#include "scripting/LuaEnvironment.h"
#include "scripting/LuaState.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Engine {

class ScriptManager : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Queues one call of the script's main for the object (names and ids always together).
    void Queue(const std::string& handle, std::uint32_t objectId)
    {
        runList.push_back(handle);
        runObjectIds.push_back(objectId);
    }

    void RegisterEveryFrame(const std::string& handle);
    void UnregisterEveryFrame(const std::string& handle);
    void ReloadAll();
    void LoadAllScripts();
    void LoadScriptFile(const std::string& path);
    void LoadScript(const std::string& handle, const std::string& path);

    // The steps of Init (and of ReloadAll) that prepare the state before the scripts load.
    void OpenLibraries();
    void RegisterTypes();
    void RegisterFunctions();

    LuaState lua;                                  // replaced by ReloadAll
    std::map<std::string, LuaEnvironment> scripts;  // handle -> environment; released before lua
    std::vector<std::string> runList;           // handles of the calls of the next Update
    std::vector<std::uint32_t> runObjectIds;    // parallel to runList: GameObject of each call
    std::vector<std::string> everyFrame;        // queued again after every Update; no duplicates
};

}  // namespace Engine

// Engine::ScriptManager (a system of the registry): loads every Lua script of
// Resources/Scripts/ into an environment of its own and, once per running frame, calls
// `main` of each queued script with the global GameObject set to the queued object id.
#pragma once

#include "core/System.h"
#include "scripting/LuaEnvironment.h"
#include "scripting/LuaFunction.h"
#include "scripting/LuaState.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
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

    // The handle of the script whose code runs now (its load, its main or one of its timer
    // functions); "(no script)" outside them.
    const std::string& RunningScript() const;

    // Runs a timer function that the owner script started with Delay or RunFor (named by
    // kind). A repeating function that fails or runs past its budget stops its timer, so it
    // cannot fail in every frame. Failures of one frame are logged as one line per script and
    // kind at the next Update: a timer bomb at the ceiling loses 65,536 timers in one line.
    void RunTimerFunction(const std::string& owner, const char* kind, const LuaFunction& function, bool repeating);

    // The steps of Init (and of ReloadAll) that prepare the state before the scripts load.
    void OpenLibraries();
    void RegisterTypes();
    void RegisterFunctions();

    LuaState lua;                                  // replaced by ReloadAll
    std::map<std::string, LuaEnvironment> scripts;  // handle -> environment; released before lua
    std::map<std::string, std::string> lastGoodSources;  // handle -> the text that last loaded
    std::vector<std::string> runList;           // handles of the calls of the next Update
    std::vector<std::uint32_t> runObjectIds;    // parallel to runList: GameObject of each call
    std::vector<std::string> everyFrame;        // queued again after every Update; no duplicates

private:
    // One line for each script and kind whose timer functions failed since the last report.
    void ReportTimerFailures();

    // A call of the script ran past its budget: whatever would call it again every frame
    // (its every-frame entry, the held keys bound to it) lets it go, with one line each.
    void StopRepeating(const std::string& handle);
    // A call of the script failed or ran past its budget: the held keys bound to it let it go,
    // or it would fail again in every frame the key is held; one line each, saying why.
    void UnbindHeldKeys(const std::string& handle, const char* why);

    struct TimerFailures {
        std::string firstError;
        int count = 0;
        bool repeating = false;
    };
    std::map<std::pair<std::string, std::string>, TimerFailures> timerFailures;  // (script, kind)

    const std::string* running = nullptr;  // RunningScript, when a script's code runs
};

}  // namespace Engine

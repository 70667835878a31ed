#include "scripting/ScriptManager.h"

#include "core/InputManager.h"
#include "core/Log.h"
#include "core/ScriptQueue.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "platform/KeyNames.h"
#include "scripting/ScriptCall.h"
#include "scripting/LuaCallBatch.h"
#include "scripting/LuaGlobalFunctions.h"
#include "scripting/LuaTypes.h"
#include "scripting/ScriptFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <system_error>

namespace Engine {

namespace {
// A slash or backslash, then the handle (word characters, hyphens, white space, parentheses),
// then ".lua", found anywhere in the path: "Jump.lua.bak" still gives "Jump".
const std::regex& HandlePattern()
{
    static const std::regex pattern(R"([\/\\]([\w\-\s\(\)]+)\.lua)", std::regex::ECMAScript);
    return pattern;
}

// Names the running script for as long as one of its entries into Lua lasts.
class RunningScope {
public:
    RunningScope(const std::string*& target, const std::string* handle) : slot(target), previous(target) { slot = handle; }
    ~RunningScope() { slot = previous; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;

private:
    const std::string*& slot;
    const std::string* previous;
};

// Raised events and the player controller's keys reach the registry's script manager
// through these routes, installed before main starts.
void QueueOnRegistryScripts(const std::string& handle, std::uint32_t objectId)
{
    GetSystem<ScriptManager>()->Queue(handle, objectId);
}

InputManager::KeyFunction QueueForPlayer(const char* handle) { return ScriptCall{nullptr, handle}; }

struct ScriptRoutes {
    ScriptRoutes() { ScriptQueue::Install(&QueueOnRegistryScripts, &QueueForPlayer); }
} const scriptRoutes;
}  // namespace

void ScriptManager::Init()
{
    OpenLibraries();
    RegisterTypes();
    RegisterFunctions();
    LoadAllScripts();
}

void ScriptManager::Update()
{
    ReportTimerFailures();
    // Only the calls queued before this update run; ones queued by the calls themselves are
    // dropped by the refill below. Indexing (not iterators) stays valid while calls append.
    const std::size_t count = runList.size();
    LuaCallBatch batch(lua.Raw(), "main", "GameObject");
    auto script = scripts.end();
    for (std::size_t i = 0; i < count; ++i) {
        // Runs of one handle (one event handler on many objects) look it up once.
        if (i == 0 || runList[i] != runList[i - 1])
            script = scripts.find(runList[i]);
        if (script == scripts.end()) {
            LogError("Attempted to run a script that doesn't exist! {}", runList[i]);
            continue;
        }
        LuaCallResult result;
        {
            const RunningScope scope(running, &script->first);
            result = batch.Call(script->second, static_cast<lua_Integer>(runObjectIds[i]));
        }
        switch (result.status) {
        case LuaCallStatus::Done:
            break;
        case LuaCallStatus::Stopped:
            // Calls that a pending quit kept from starting say nothing; one cut short does.
            if (!result.error.empty())
                LogInfo("Script {} stopped: the game is quitting", script->first);
            break;
        case LuaCallStatus::Missing:
            LogError("Script {} has no entry-point!", script->first);
            break;
        case LuaCallStatus::Failed:
            LogError("Script {} failed: {}", script->first, result.error);
            UnbindHeldKeys(script->first, "failed");
            break;
        case LuaCallStatus::OverBudget:
            LogError("Script {} failed: {}", script->first, result.error);
            StopRepeating(script->first);
            break;
        }
    }

    // Every-frame calls act for no particular object: each one sees GameObject 0.
    runList = everyFrame;
    runObjectIds.assign(everyFrame.size(), 0);
}

void ScriptManager::Shutdown() { ReportTimerFailures(); }

const std::string& ScriptManager::RunningScript() const
{
    static const std::string none = "(no script)";
    return running != nullptr ? *running : none;
}

void ScriptManager::RunTimerFunction(const std::string& owner, const char* kind, const LuaFunction& function, bool repeating)
{
    LuaCallResult result;
    {
        const RunningScope scope(running, &owner);
        result = function.Run();
    }
    if (result.status == LuaCallStatus::Stopped && !result.error.empty())
        LogInfo("Script {} stopped in a {} function: the game is quitting", owner, kind);
    if (result.status != LuaCallStatus::Failed && result.status != LuaCallStatus::OverBudget)
        return;
    if (repeating)
        GetSystem<TimerDatabase>()->StopRunning();
    if (result.status == LuaCallStatus::OverBudget) {
        // A second of work each: never many in a frame, so each has its lines at once.
        LogError("Script {} failed in a {} function: {}", owner, kind, result.error);
        if (repeating)
            LogWarn("Script {} ran past its budget in a {} function: that timer is stopped", owner, kind);
        return;
    }
    TimerFailures& failures = timerFailures[{owner, kind}];
    if (failures.count++ == 0)
        failures.firstError = std::move(result.error);
    failures.repeating = repeating;
}

void ScriptManager::ReportTimerFailures()
{
    for (const auto& [key, failures] : timerFailures) {
        const auto& [owner, kind] = key;
        const char* stopped = !failures.repeating ? "" : failures.count == 1 ? " (the timer is stopped)" : " (the timers are stopped)";
        if (failures.count == 1)
            LogError("Script {} failed in a {} function: {}{}", owner, kind, failures.firstError, stopped);
        else
            LogError("Script {} failed in {} {} functions: {}{}", owner, failures.count, kind, failures.firstError, stopped);
    }
    timerFailures.clear();
}

void ScriptManager::StopRepeating(const std::string& handle)
{
    if (std::find(everyFrame.begin(), everyFrame.end(), handle) != everyFrame.end()) {
        UnregisterEveryFrame(handle);
        LogWarn("Script {} ran past its budget: it no longer runs every frame", handle);
    }
    UnbindHeldKeys(handle, "ran past its budget");
}

void ScriptManager::UnbindHeldKeys(const std::string& handle, const char* why)
{
    auto& held = InputManager::Instance().keyDown;
    for (auto binding = held.begin(); binding != held.end();) {
        const auto* call = binding->second.target<ScriptCall>();
        if (call == nullptr || call->handle != handle) {
            ++binding;
            continue;
        }
        LogWarn("Script {} {}: holding the key {} no longer runs it", handle, why, Platform::KeyName(binding->first));
        binding = held.erase(binding);
    }
}

void ScriptManager::RegisterEveryFrame(const std::string& handle)
{
    if (std::find(everyFrame.begin(), everyFrame.end(), handle) == everyFrame.end())
        everyFrame.push_back(handle);
}

void ScriptManager::UnregisterEveryFrame(const std::string& handle)
{
    std::erase(everyFrame, handle);
}

void ScriptManager::ReloadAll()
{
    LogInfo("Reloading all scripts...");
    // Environments live in the old state, so they go before it.
    scripts.clear();
    lua = LuaState();
    OpenLibraries();
    RegisterTypes();
    RegisterFunctions();
    LoadAllScripts();
}

void ScriptManager::LoadAllScripts()
{
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator entry(ScriptFiles::Folder, error), end; !error && entry != end;
         entry.increment(error))
        names.push_back(entry->path().filename().string());
    if (error) {
        LogError("Could not list the scripts in {}: {}", ScriptFiles::Folder, error.message());
        return;
    }
    // Listed in file-name order, whatever order the file system keeps.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = ScriptFiles::Folder + name;
        LogInfo("Loading {}", path);
        LoadScriptFile(path);
    }
}

void ScriptManager::LoadScriptFile(const std::string& path)
{
    std::smatch match;
    if (!std::regex_search(path, match, HandlePattern())) {
        LogError("Failed to load {} (Not a lua file)", path);
        return;
    }
    LoadScript(match[1].str(), path);
}

void ScriptManager::LoadScript(const std::string& handle, const std::string& path)
{
    LogInfo("Loading script {} with handle {}", path, handle);
    if (scripts.contains(handle)) {
        LogWarn("Attemping to create an event with duplicate handle: {}. Event not loaded.", handle);
        return;
    }
    const auto script = scripts.emplace(handle, lua.NewEnvironment()).first;
    LuaCallResult result;
    {
        const RunningScope scope(running, &script->first);
        result = script->second.RunFile(path);
    }
    if (result.status == LuaCallStatus::Done) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        lastGoodSources[handle] = text.str();
        return;
    }
    LogError("{}", result.error);
    // A reload that fails (a script saved with a mistake) keeps the version that ran before.
    const auto good = lastGoodSources.find(handle);
    if (good != lastGoodSources.end()) {
        script->second = lua.NewEnvironment();
        const RunningScope scope(running, &script->first);
        if (script->second.RunString(good->second, "@" + path).status == LuaCallStatus::Done) {
            LogWarn("Script {} keeps its previous version: {} did not load", handle, path);
            return;
        }
    }
    scripts.erase(script);
}

void ScriptManager::OpenLibraries() { lua.OpenLibraries(); }

void ScriptManager::RegisterTypes() { RegisterEngineTypes(lua); }

void ScriptManager::RegisterFunctions() { RegisterGlobalFunctions(lua, *this); }

}  // namespace Engine

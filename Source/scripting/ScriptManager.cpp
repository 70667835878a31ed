#include "scripting/ScriptManager.h"

#include "core/Log.h"
#include "scripting/LuaCallBatch.h"
#include "scripting/LuaGlobalFunctions.h"
#include "scripting/LuaTypes.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <system_error>

namespace Engine {

namespace {
constexpr const char* ScriptFolder = "Resources/Scripts/";

// A slash or backslash, then the handle (word characters, hyphens, white space, parentheses),
// then ".lua", found anywhere in the path: "Jump.lua.bak" still gives "Jump".
const std::regex& HandlePattern()
{
    static const std::regex pattern(R"([\/\\]([\w\-\s\(\)]+)\.lua)", std::regex::ECMAScript);
    return pattern;
}
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
        const LuaCallResult result = batch.Call(script->second, static_cast<lua_Integer>(runObjectIds[i]));
        if (result.status == LuaCallStatus::Missing)
            LogError("Script {} has no entry-point!", script->first);
        else if (result.status == LuaCallStatus::Failed)
            LogError("Script {} failed: {}", script->first, result.error);
    }

    // Every-frame calls act for no particular object: each one sees GameObject 0.
    runList = everyFrame;
    runObjectIds.assign(everyFrame.size(), 0);
}

void ScriptManager::Shutdown() {}

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
    for (std::filesystem::directory_iterator entry(ScriptFolder, error), end; !error && entry != end;
         entry.increment(error))
        names.push_back(entry->path().filename().string());
    if (error) {
        LogError("Could not list the scripts in {}: {}", ScriptFolder, error.message());
        return;
    }
    // Listed in file-name order, whatever order the file system keeps.
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const std::string path = ScriptFolder + name;
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
    const LuaCallResult result = script->second.RunFile(path);
    if (result.status != LuaCallStatus::Done) {
        LogError("{}", result.error);
        scripts.erase(script);
    }
}

void ScriptManager::OpenLibraries() { lua.OpenLibraries(); }

void ScriptManager::RegisterTypes() { RegisterEngineTypes(lua); }

void ScriptManager::RegisterFunctions() { RegisterGlobalFunctions(lua, *this); }

}  // namespace Engine

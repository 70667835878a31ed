#include "scripting/ScriptManager.h"

namespace Engine {

// Bodies are filled in with the script manager's own work.
void ScriptManager::Init() {}
void ScriptManager::Update() {}
void ScriptManager::Shutdown() {}
void ScriptManager::RegisterEveryFrame(const std::string&) {}
void ScriptManager::UnregisterEveryFrame(const std::string&) {}
void ScriptManager::ReloadAll() {}
void ScriptManager::LoadAllScripts() {}
void ScriptManager::LoadScriptFile(const std::string&) {}
void ScriptManager::LoadScript(const std::string&, const std::string&) {}

}  // namespace Engine

#include "scripting/ScriptManager.h"

namespace Engine {

void ScriptManager::Init() {}

void ScriptManager::Update() {}

void ScriptManager::Shutdown() {}

}  // namespace Engine

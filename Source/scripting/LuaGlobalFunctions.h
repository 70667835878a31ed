// The global functions of the Lua interface: sound, logging, timers, key bindings, objects
// and their components, particles and the level flow. The script manager registers them
// into every new Lua state, after the engine types; key bindings and the every-frame list
// act on the manager that registered them.
#pragma once

#include "scripting/LuaState.h"

namespace Engine {

class ScriptManager;

// Registers every global function, PlaySoundEvent first and PlayWinStinger last.
void RegisterGlobalFunctions(LuaState& lua, ScriptManager& scripts);

}  // namespace Engine

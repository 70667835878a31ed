// The limits LuaState::OpenLibraries puts on the standard libraries it opens for scripts:
// load, loadfile, dofile and require take Lua source text only, since a precompiled chunk
// can crash the interpreter; native code (the C module searchers, package.loadlib) cannot be
// loaded at all; and setmetatable refuses finalizers, which Lua runs with hooks switched off,
// out of reach of the instruction budget.
#pragma once

#include <lua.hpp>

namespace Engine {

// Replaces load, loadfile, dofile and setmetatable in the global table and the searchers of
// package.
void LimitLibrariesForScripts(lua_State* L);

}  // namespace Engine

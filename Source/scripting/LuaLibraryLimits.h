// The limits LuaState::OpenLibraries puts on the standard libraries it opens for scripts:
// load, loadfile, dofile and require take Lua source text only, since a precompiled chunk
// can crash the interpreter, and the last three read files of the scripts' folder only, since
// scripts ship with levels and must not read the rest of the machine; native code (the C
// module searchers, package.loadlib) cannot be loaded at all; setmetatable refuses
// finalizers, which Lua runs with hooks switched off, out of reach of the instruction budget;
// and string.rep and table.move refuse the endless loops in C that the budget cannot see.
#pragma once

#include <lua.hpp>

namespace Engine {

// Replaces load, loadfile, dofile, setmetatable, string.rep, table.move, package.path,
// package.searchpath and the searchers of package.
void LimitLibrariesForScripts(lua_State* L);

}  // namespace Engine

// The limits LuaState::OpenLibraries puts on the standard libraries it opens for scripts:
// load, loadfile, dofile and require take Lua source text only, since a precompiled chunk
// can crash the interpreter; native code (the C module searchers, package.loadlib) cannot be
// loaded at all; setmetatable refuses finalizers, which Lua runs with hooks switched off, out
// of reach of the instruction budget; and string.rep and table.move refuse the endless loops
// in C that the budget cannot see.
#pragma once

#include <lua.hpp>

namespace Engine {

// Replaces load, loadfile, dofile, setmetatable, string.rep, table.move and the searchers
// of package.
void LimitLibrariesForScripts(lua_State* L);

}  // namespace Engine

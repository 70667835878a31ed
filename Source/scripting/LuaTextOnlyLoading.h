// Text-only code loading for the scripts' state, which LuaState::OpenLibraries sets up after
// the base and package libraries: load, loadfile, dofile and require take Lua source text
// only, since a precompiled chunk can crash the interpreter, and native code (the C module
// searchers, package.loadlib) cannot be loaded at all.
#pragma once

#include <lua.hpp>

namespace Engine {

// Replaces load, loadfile and dofile in the global table and the searchers of package.
void RestrictCodeLoadingToText(lua_State* L);

}  // namespace Engine

#include "scripting/LuaState.h"

#include "core/Log.h"
#include "scripting/LuaLibraryLimits.h"

#include <cstdlib>

namespace Engine {

namespace {
// Reached only by an error outside every protected call (the engine makes none on purpose;
// running out of memory while setting up is the case left). Lua aborts after this returns.
int Panic(lua_State* L)
{
    const char* message = lua_tostring(L, -1);
    LogError("Lua error outside a protected call: {}", message != nullptr ? message : "(no message)");
    FlushLog();
    return 0;
}
}  // namespace

LuaState::LuaState(std::size_t memoryCeiling) : state(OpenOwnedLuaState(memoryCeiling))
{
    if (!state) {
        LogError("Could not create a Lua state (out of memory)");
        std::abort();
    }
    lua_atpanic(Raw(), &Panic);
}

void LuaState::OpenLibraries()
{
    static constexpr luaL_Reg libraries[] = {
        {"_G", luaopen_base},
        {LUA_MATHLIBNAME, luaopen_math},
        {LUA_LOADLIBNAME, luaopen_package},
        {LUA_STRLIBNAME, luaopen_string},
        {LUA_TABLIBNAME, luaopen_table},
    };
    lua_State* L = Raw();
    for (const luaL_Reg& library : libraries) {
        luaL_requiref(L, library.name, library.func, 1);
        lua_pop(L, 1);
    }
    LimitLibrariesForScripts(L);
}

void LuaState::GlobalTable(const char* name)
{
    lua_State* L = Raw();
    if (lua_getglobal(L, name) == LUA_TTABLE)
        return;
    lua_pop(L, 1);
    lua_newtable(L);
    lua_pushvalue(L, -1);
    lua_setglobal(L, name);
}

}  // namespace Engine

#include "scripting/LuaEnvironment.h"

#include "scripting/LuaBudget.h"
#include "scripting/LuaStack.h"

namespace Engine {

LuaEnvironment LuaEnvironment::Create(lua_State* L)
{
    lua_newtable(L);
    // Each environment has its own metatable, so a script that changes its metatable
    // changes nothing for the others.
    lua_newtable(L);
    lua_pushglobaltable(L);
    lua_setfield(L, -2, "__index");
    lua_setmetatable(L, -2);
    return LuaEnvironment(LuaRef(L));
}

LuaCallResult LuaEnvironment::RunFile(const std::string& path) const
{
    lua_State* L = ref.State();
    // Text only: a precompiled chunk can crash the virtual machine, and scripts are text.
    return RunLoaded(L, luaL_loadfilex(L, path.c_str(), "t"));
}

LuaCallResult LuaEnvironment::RunString(const std::string& chunk, const std::string& chunkName) const
{
    lua_State* L = ref.State();
    return RunLoaded(L, luaL_loadbufferx(L, chunk.data(), chunk.size(), chunkName.c_str(), "t"));
}

LuaCallResult LuaEnvironment::RunLoaded(lua_State* L, int loadStatus) const
{
    if (loadStatus != LUA_OK)
        return {LuaCallStatus::Failed, LuaStack::PopErrorText(L)};
    ref.Push();
    // The chunk's first upvalue is _ENV: the table its global names resolve in.
    lua_setupvalue(L, -2, 1);
    return LuaBudget::ProtectedCall(L);
}

void LuaEnvironment::SetInteger(const char* name, lua_Integer value) const
{
    lua_State* L = ref.State();
    ref.Push();
    lua_pushinteger(L, value);
    lua_setfield(L, -2, name);  // the table has no __newindex, so this is a raw write
    lua_pop(L, 1);
}

}  // namespace Engine

#include "scripting/LuaCallBatch.h"

#include "scripting/LuaBudget.h"
#include "scripting/LuaStack.h"

namespace Engine {

LuaCallBatch::LuaCallBatch(lua_State* state, const char* functionName, const char* integerName)
    : L(state), base(lua_gettop(state))
{
    lua_pushstring(L, functionName);
    lua_pushstring(L, integerName);
}

LuaCallBatch::~LuaCallBatch() { lua_settop(L, base); }

LuaCallResult LuaCallBatch::Call(const LuaEnvironment& environment, lua_Integer value)
{
    const int functionKey = base + 1;
    const int integerKey = base + 2;
    const int table = base + 3;
    if (&environment != current) {
        lua_settop(L, base + 2);
        environment.Push();
        current = &environment;
    }
    lua_pushvalue(L, integerKey);
    lua_pushinteger(L, value);
    lua_rawset(L, table);
    // Raw access: no metamethod (a script may give the global table one) can raise here,
    // outside the protected call.
    lua_pushvalue(L, functionKey);
    if (lua_rawget(L, table) == LUA_TNIL) {
        lua_pop(L, 1);
        return {LuaCallStatus::Missing, {}};
    }
    return LuaBudget::ProtectedCall(L);
}

}  // namespace Engine

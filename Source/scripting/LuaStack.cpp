#include "scripting/LuaStack.h"

#include <cstdlib>

namespace Engine::LuaStack {

std::string PopErrorText(lua_State* L)
{
    std::string text;
    if (lua_type(L, -1) == LUA_TSTRING || lua_type(L, -1) == LUA_TNUMBER) {
        std::size_t length = 0;
        const char* message = lua_tolstring(L, -1, &length);
        text.assign(message, length);
    } else {
        // Calling __tostring here could raise outside any protected call, so only the type shows.
        text = std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
    }
    lua_pop(L, 1);
    return text;
}

const char* TypeName(lua_State* L, int index)
{
    const char* name = luaL_typename(L, index);
    if (lua_type(L, index) == LUA_TUSERDATA && luaL_getmetafield(L, index, "__name") != LUA_TNIL) {
        // The metatable keeps the name alive after it leaves the stack.
        if (lua_type(L, -1) == LUA_TSTRING)
            name = lua_tostring(L, -1);
        lua_pop(L, 1);
    }
    return name;
}

void ArgumentError(lua_State* L, const char* function, int argument, const char* expected)
{
    luaL_error(L, "bad argument #%d to '%s' (%s expected, got %s)", argument, function, expected,
               TypeName(L, argument));
    // luaL_error never returns; this keeps the [[noreturn]] promise visible to the compiler.
    std::abort();
}

bool ToIntegerIn(lua_State* L, int index, lua_Integer low, lua_Integer high, lua_Integer& out)
{
    if (lua_type(L, index) != LUA_TNUMBER)
        return false;
    int isInteger = 0;
    const lua_Integer value = lua_tointegerx(L, index, &isInteger);  // fails for 2.5 and for NaN
    if (isInteger == 0 || value < low || value > high)
        return false;
    out = value;
    return true;
}

}  // namespace Engine::LuaStack

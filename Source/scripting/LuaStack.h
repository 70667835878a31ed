// Conversions between C++ values and the Lua stack, used by the global-function and
// usertype bindings. Conversions are strict: a number argument must be a Lua number, a
// string a Lua string, and so on; a mismatch is refused with a Lua error.
#pragma once

#include <lua.hpp>

#include <cstdlib>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace Engine {

// LuaValue<T>::Get(L, index, out) stores the value at index into out and says whether it had
// the right type; Push(L, value) pushes one value; Expected names the Lua type for messages.
template <typename T>
struct LuaValue;

namespace LuaStack {

// The error value on top of the stack as text, popped. Non-string errors are described.
std::string PopErrorText(lua_State* L);

// The type of the stack value for messages: a usertype's own name ("Transform"), else
// Lua's type name. Reads no metamethods, so it is safe outside protected calls.
const char* TypeName(lua_State* L, int index);

// Raises "bad argument #n to 'function' (expected expected, got actual)" in the caller.
[[noreturn]] void ArgumentError(lua_State* L, const char* function, int argument, const char* expected);

// The stack value as an integer when it is a number with an integral value in [low, high].
bool ToIntegerIn(lua_State* L, int index, lua_Integer low, lua_Integer high, lua_Integer& out);

}  // namespace LuaStack

template <>
struct LuaValue<float> {
    static constexpr const char* Expected = "number";
    static bool Get(lua_State* L, int index, float& out)
    {
        if (lua_type(L, index) != LUA_TNUMBER)
            return false;
        out = static_cast<float>(lua_tonumber(L, index));
        return true;
    }
    static void Push(lua_State* L, float value) { lua_pushnumber(L, static_cast<lua_Number>(value)); }
};

template <>
struct LuaValue<bool> {
    static constexpr const char* Expected = "boolean";
    static bool Get(lua_State* L, int index, bool& out)
    {
        if (lua_type(L, index) != LUA_TBOOLEAN)
            return false;
        out = lua_toboolean(L, index) != 0;
        return true;
    }
    static void Push(lua_State* L, bool value) { lua_pushboolean(L, value ? 1 : 0); }
};

template <>
struct LuaValue<std::int32_t> {
    static constexpr const char* Expected = "32-bit integer";
    static bool Get(lua_State* L, int index, std::int32_t& out)
    {
        lua_Integer value = 0;
        if (!LuaStack::ToIntegerIn(L, index, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max(), value))
            return false;
        out = static_cast<std::int32_t>(value);
        return true;
    }
    static void Push(lua_State* L, std::int32_t value) { lua_pushinteger(L, value); }
};

template <>
struct LuaValue<std::uint32_t> {
    static constexpr const char* Expected = "unsigned 32-bit integer";
    static bool Get(lua_State* L, int index, std::uint32_t& out)
    {
        lua_Integer value = 0;
        if (!LuaStack::ToIntegerIn(L, index, 0, std::numeric_limits<std::uint32_t>::max(), value))
            return false;
        out = static_cast<std::uint32_t>(value);
        return true;
    }
    static void Push(lua_State* L, std::uint32_t value) { lua_pushinteger(L, static_cast<lua_Integer>(value)); }
};

template <>
struct LuaValue<std::string> {
    static constexpr const char* Expected = "string";
    static bool Get(lua_State* L, int index, std::string& out)
    {
        if (lua_type(L, index) != LUA_TSTRING)
            return false;
        std::size_t length = 0;
        const char* text = lua_tolstring(L, index, &length);
        out.assign(text, length);
        return true;
    }
    static void Push(lua_State* L, const std::string& value) { lua_pushlstring(L, value.data(), value.size()); }
};

// The text of a string argument without a copy: valid while the call runs, since the argument
// stays on the Lua stack until the function returns.
template <>
struct LuaValue<std::string_view> {
    static constexpr const char* Expected = "string";
    static bool Get(lua_State* L, int index, std::string_view& out)
    {
        if (lua_type(L, index) != LUA_TSTRING)
            return false;
        std::size_t length = 0;
        const char* text = lua_tolstring(L, index, &length);
        out = std::string_view(text, length);
        return true;
    }
};

}  // namespace Engine

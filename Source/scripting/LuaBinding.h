// Binding of C++ callables as Lua functions: each argument is converted by LuaValue<T> and
// refused, with a Lua error naming the function and the argument, when its type is wrong;
// the result (if any) is pushed back. A C++ exception leaving the callable becomes a Lua
// error as well, so it ends the calling script's run and never crosses the interpreter.
#pragma once

#include "scripting/LuaStack.h"

#include <lua.hpp>

#include <exception>
#include <new>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

namespace Engine::LuaBinding {

template <typename F>
struct CallableTraits : CallableTraits<decltype(&F::operator())> {};

template <typename R, typename... A>
struct CallableTraits<R (*)(A...)> {
    using Result = R;
    using Arguments = std::tuple<std::decay_t<A>...>;
};

template <typename C, typename R, typename... A>
struct CallableTraits<R (C::*)(A...) const> : CallableTraits<R (*)(A...)> {};

template <typename C, typename R, typename... A>
struct CallableTraits<R (C::*)(A...)> : CallableTraits<R (*)(A...)> {};

template <typename T>
T Argument(lua_State* L, int index, const char* function)
{
    T value{};
    if (!LuaValue<T>::Get(L, index, value))
        LuaStack::ArgumentError(L, function, index, LuaValue<T>::Expected);
    return value;
}

template <typename F, typename Tuple, std::size_t... I>
int Invoke([[maybe_unused]] lua_State* L, F& function, [[maybe_unused]] const char* name, std::index_sequence<I...>)
{
    using Result = typename CallableTraits<F>::Result;
    // Braced initialisation converts the arguments left to right, so the first bad one is named.
    Tuple arguments{Argument<std::tuple_element_t<I, Tuple>>(L, static_cast<int>(I) + 1, name)...};
    if constexpr (std::is_void_v<Result>) {
        std::apply(function, std::move(arguments));
        return 0;
    } else {
        LuaValue<std::decay_t<Result>>::Push(L, std::apply(function, std::move(arguments)));
        return 1;
    }
}

template <typename F>
int Trampoline(lua_State* L)
{
    using Arguments = typename CallableTraits<F>::Arguments;
    F& function = *static_cast<F*>(lua_touserdata(L, lua_upvalueindex(1)));
    const char* name = lua_tostring(L, lua_upvalueindex(2));
    std::string failure;
    try {
        return Invoke<F, Arguments>(L, function, name, std::make_index_sequence<std::tuple_size_v<Arguments>>{});
    } catch (const std::exception& exception) {
        // Lua's own errors are not std::exceptions and pass through untouched.
        failure = exception.what();
    }
    return luaL_error(L, "%s: %s", name, failure.c_str());
}

template <typename F>
int Destroy(lua_State* L)
{
    static_cast<F*>(lua_touserdata(L, 1))->~F();
    return 0;
}

// Pushes the callable as a Lua function (a C closure over a userdata holding it).
template <typename F>
void PushFunction(lua_State* L, const char* name, F function)
{
    void* block = lua_newuserdata(L, sizeof(F));
    new (block) F(std::move(function));
    if constexpr (!std::is_trivially_destructible_v<F>) {
        lua_newtable(L);
        lua_pushcfunction(L, &Destroy<F>);
        lua_setfield(L, -2, "__gc");
        lua_setmetatable(L, -2);
    }
    lua_pushstring(L, name);
    lua_pushcclosure(L, &Trampoline<F>, 2);
}

}  // namespace Engine::LuaBinding

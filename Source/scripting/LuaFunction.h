// Engine::LuaFunction: a Lua function held from C++ (a timer's callback, say) and always
// called as a protected call. Once its state is closed (the scripts were reloaded) calling
// it does nothing, so nothing ever runs in a discarded state.
#pragma once

#include "scripting/LuaEnvironment.h"
#include "scripting/LuaRef.h"
#include "scripting/LuaStack.h"

#include <string>

namespace Engine {

class LuaFunction {
public:
    LuaFunction() = default;
    explicit LuaFunction(LuaRef function) : ref(std::move(function)) {}

    // Calls the function with no arguments. False when it raised an error (its text goes to
    // *error when given) or when its state is gone.
    bool Call(std::string* error = nullptr) const;
    // The same call with its whole outcome: Missing when the state is gone, and otherwise
    // as LuaBudget::ProtectedCall tells it.
    LuaCallResult Run() const;

    bool Alive() const { return ref.Alive(); }

private:
    LuaRef ref;
};

// A function argument is held through a registry reference.
template <>
struct LuaValue<LuaFunction> {
    static constexpr const char* Expected = "function";
    static bool Get(lua_State* L, int index, LuaFunction& out)
    {
        if (lua_type(L, index) != LUA_TFUNCTION)
            return false;
        lua_pushvalue(L, index);
        out = LuaFunction(LuaRef(L));
        return true;
    }
};

}  // namespace Engine

// Engine::LuaState: owns one Lua state (the script manager's). It opens the standard
// libraries the scripts may use, makes script environments, and puts C++ functions into
// the global table. References into it (environments, functions) die with it.
#pragma once

#include "scripting/LuaBinding.h"
#include "scripting/LuaEnvironment.h"

#include <lua.hpp>

#include <cstddef>
#include <memory>

namespace Engine {

class LuaState {
public:
    // What the scripts' state may hold: past it an allocation fails as a Lua memory error,
    // which ends the running call only.
    static constexpr std::size_t MemoryCeiling = std::size_t{512} << 20;

    // A new, empty state: no libraries, no functions.
    explicit LuaState(std::size_t memoryCeiling = MemoryCeiling);

    lua_State* Raw() const { return state.get(); }

    // base, math, package, string and table, in that order; no io, os, debug, coroutine or utf8.
    // Code loads from Lua text only, no native code loads at all, and there are no finalizers.
    void OpenLibraries();

    LuaEnvironment NewEnvironment() const { return LuaEnvironment::Create(Raw()); }

    // Puts the callable into the global table under the name.
    template <typename F>
    void SetFunction(const char* name, F function)
    {
        LuaBinding::PushFunction(Raw(), name, std::move(function));
        lua_setglobal(Raw(), name);
    }

    // Puts the callable into the global table named table (made when missing) as field name;
    // error texts call it "table.name".
    template <typename F>
    void SetFunctionIn(const char* table, const char* name, F function)
    {
        lua_State* L = Raw();
        GlobalTable(table);
        const std::string fullName = std::string(table) + "." + name;
        LuaBinding::PushFunction(L, fullName.c_str(), std::move(function));
        lua_setfield(L, -2, name);
        lua_pop(L, 1);
    }

private:
    // Pushes the global table of that name, making an empty one when there is none.
    void GlobalTable(const char* name);

    std::shared_ptr<lua_State> state;
};

}  // namespace Engine

// Engine::LuaRef: one value of a Lua state held from C++ through the state's registry.
// Environments and protected functions are built on it. A reference that outlives its
// state is dead: it releases nothing, and callers check Alive() before pushing it.
#pragma once

#include <lua.hpp>

#include <cstddef>
#include <memory>

namespace Engine {

// Opens a new Lua state whose registry references can find their owner through the raw
// state (kept in the state's extra space), holding at most memoryCeiling bytes. Null when
// there is no memory for it.
std::shared_ptr<lua_State> OpenOwnedLuaState(std::size_t memoryCeiling);

class LuaRef {
public:
    LuaRef() = default;
    // Takes the value on top of the stack (popping it) into the registry. L must come from
    // OpenOwnedLuaState.
    explicit LuaRef(lua_State* L);
    ~LuaRef();

    LuaRef(const LuaRef& other);
    LuaRef& operator=(const LuaRef& other);
    LuaRef(LuaRef&& other) noexcept;
    LuaRef& operator=(LuaRef&& other) noexcept;

    // True while the reference names a value and its state is still open.
    bool Alive() const { return ref != LUA_NOREF && !owner.expired(); }

    // Pushes the value (nil for an empty reference); the state must still be open.
    void Push() const;

    // The raw state; only meaningful while Alive().
    lua_State* State() const { return L; }

    // Keeps the state open while a caller runs code in it (null for a dead reference), so a
    // replacement of the state during that run cannot close it under the caller.
    std::shared_ptr<lua_State> Lock() const { return ref == LUA_NOREF ? nullptr : owner.lock(); }

private:
    void Release();

    std::weak_ptr<lua_State> owner;
    lua_State* L = nullptr;
    int ref = LUA_NOREF;
};

}  // namespace Engine

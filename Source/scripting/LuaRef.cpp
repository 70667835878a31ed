#include "scripting/LuaRef.h"

#include <cstdlib>
#include <utility>

namespace Engine {

namespace {
// Lives as long as the raw state; its pointer sits in the state's extra space and is the
// allocator's user data.
struct StateOwner {
    std::weak_ptr<lua_State> self;
    std::size_t used = 0;     // bytes the state holds
    std::size_t ceiling = 0;  // bytes it may hold
};

StateOwner*& OwnerSlot(lua_State* L) { return *static_cast<StateOwner**>(lua_getextraspace(L)); }

// Lua's allocator contract: free for size 0, and a shrink never fails. A growth past the
// ceiling gives null, which Lua raises as a memory error in the running call.
void* Allocate(void* userData, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* owner = static_cast<StateOwner*>(userData);
    const std::size_t held = block != nullptr ? oldSize : 0;  // without a block, oldSize is a type tag
    if (newSize == 0) {
        std::free(block);
        owner->used -= held;
        return nullptr;
    }
    if (newSize > held && newSize - held > owner->ceiling - owner->used)
        return nullptr;
    void* grown = std::realloc(block, newSize);
    if (grown == nullptr)
        return nullptr;
    owner->used = owner->used - held + newSize;
    return grown;
}
}  // namespace

std::shared_ptr<lua_State> OpenOwnedLuaState(std::size_t memoryCeiling)
{
    auto* owner = new StateOwner;
    owner->ceiling = memoryCeiling;
    lua_State* raw = lua_newstate(&Allocate, owner);
    if (raw == nullptr) {
        delete owner;
        return nullptr;
    }
    OwnerSlot(raw) = owner;
    std::shared_ptr<lua_State> state(raw, [](lua_State* L) {
        StateOwner* stateOwner = OwnerSlot(L);
        lua_close(L);
        delete stateOwner;
    });
    owner->self = state;
    return state;
}

LuaRef::LuaRef(lua_State* raw) : owner(OwnerSlot(raw)->self), L(raw)
{
    ref = luaL_ref(L, LUA_REGISTRYINDEX);
    if (ref == LUA_REFNIL)
        ref = LUA_NOREF;
}

LuaRef::~LuaRef() { Release(); }

LuaRef::LuaRef(const LuaRef& other) : owner(other.owner), L(other.L)
{
    if (other.Alive()) {
        other.Push();
        ref = luaL_ref(L, LUA_REGISTRYINDEX);
    }
}

LuaRef& LuaRef::operator=(const LuaRef& other)
{
    if (this != &other) {
        LuaRef copy(other);
        *this = std::move(copy);
    }
    return *this;
}

LuaRef::LuaRef(LuaRef&& other) noexcept
    : owner(std::move(other.owner)), L(other.L), ref(std::exchange(other.ref, LUA_NOREF))
{
}

LuaRef& LuaRef::operator=(LuaRef&& other) noexcept
{
    if (this != &other) {
        Release();
        owner = std::move(other.owner);
        L = other.L;
        ref = std::exchange(other.ref, LUA_NOREF);
    }
    return *this;
}

void LuaRef::Push() const
{
    if (ref == LUA_NOREF)
        lua_pushnil(L);
    else
        lua_rawgeti(L, LUA_REGISTRYINDEX, ref);
}

void LuaRef::Release()
{
    if (ref != LUA_NOREF && !owner.expired())
        luaL_unref(L, LUA_REGISTRYINDEX, ref);
    ref = LUA_NOREF;
}

}  // namespace Engine

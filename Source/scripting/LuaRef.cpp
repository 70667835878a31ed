#include "scripting/LuaRef.h"

#include <utility>

namespace Engine {

namespace {
// Lives as long as the raw state; its pointer sits in the state's extra space.
struct StateOwner {
    std::weak_ptr<lua_State> self;
};

StateOwner*& OwnerSlot(lua_State* L) { return *static_cast<StateOwner**>(lua_getextraspace(L)); }
}  // namespace

std::shared_ptr<lua_State> OpenOwnedLuaState()
{
    lua_State* raw = luaL_newstate();
    if (raw == nullptr)
        return nullptr;
    auto* slotOwner = new StateOwner;
    OwnerSlot(raw) = slotOwner;
    std::shared_ptr<lua_State> state(raw, [](lua_State* L) {
        StateOwner* stateOwner = OwnerSlot(L);
        lua_close(L);
        delete stateOwner;
    });
    slotOwner->self = state;
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

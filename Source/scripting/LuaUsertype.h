// Engine::LuaUsertype: describes an engine type as Lua sees it, a userdata whose named
// fields read and write members of the engine object. Value objects (a TimerHandle) hold
// a copy; component objects hold a reference to their game object and find the live
// component on every access, so the component of a removed object raises a Lua error
// instead of touching whatever object took the id since.
#pragma once

#include "core/Component.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "scripting/LuaStack.h"

#include <lua.hpp>

#include <cmath>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace Engine {

struct LuaField {
    const char* name;
    void (*read)(lua_State* L, const void* object);            // pushes the member's value
    bool (*write)(lua_State* L, void* object, int valueIndex);  // false for a wrong type or a non-finite number; null = read-only
    const char* expected;                                        // the Lua type a write takes
};

struct LuaUsertype;

// The engine object behind a userdata block; raises a Lua error when it no longer exists.
using LuaResolve = void* (*)(lua_State* L, void* block, const LuaUsertype& type);

struct LuaUsertype {
    const char* name;         // the global table of the type, and the name in error texts
    const char* registryKey;  // the metatable's key in the registry
    LuaResolve resolve;
    std::vector<LuaField> fields;
};

// Makes the type's metatable and an empty global table of its name. The description must
// outlive the state (the registered types are static).
void RegisterUsertype(lua_State* L, const LuaUsertype& type);

// Specialised for every registered engine type: Name (Lua) and Key (registry).
template <typename T>
struct LuaTypeKey;

template <typename P>
struct LuaMemberOf;

template <typename C, typename M>
struct LuaMemberOf<M C::*> {
    using Class = C;
    using Type = M;
};

template <auto Member>
LuaField ReadOnlyField(const char* name)
{
    using Class = typename LuaMemberOf<decltype(Member)>::Class;
    using Type = typename LuaMemberOf<decltype(Member)>::Type;
    return {name,
            [](lua_State* L, const void* object) { LuaValue<Type>::Push(L, static_cast<const Class*>(object)->*Member); },
            nullptr, LuaValue<Type>::Expected};
}

template <auto Member>
LuaField Field(const char* name)
{
    using Class = typename LuaMemberOf<decltype(Member)>::Class;
    using Type = typename LuaMemberOf<decltype(Member)>::Type;
    LuaField field = ReadOnlyField<Member>(name);
    field.write = [](lua_State* L, void* object, int valueIndex) {
        Type value{};
        if (!LuaValue<Type>::Get(L, valueIndex, value))
            return false;
        // NaN and infinities (1e39 too, as a float) would spread through the game and its files.
        if constexpr (std::is_floating_point_v<Type>) {
            if (!std::isfinite(value))
                return false;
        }
        static_cast<Class*>(object)->*Member = value;
        return true;
    };
    return field;
}

// --- value objects: the userdata is a copy of the value ---

void* ResolveValueObject(lua_State* L, void* block, const LuaUsertype& type);

template <typename T>
void PushValueObject(lua_State* L, const T& value)
{
    static_assert(std::is_trivially_destructible_v<T>, "value objects have no __gc");
    new (lua_newuserdata(L, sizeof(T))) T(value);
    luaL_setmetatable(L, LuaTypeKey<T>::Key);
}

template <typename T>
const T* ToValueObject(lua_State* L, int index)
{
    return static_cast<const T*>(luaL_testudata(L, index, LuaTypeKey<T>::Key));
}

// --- component objects: the userdata names a component by its object ---

struct LuaComponentObject {
    ObjectRef object;            // the object when the component was handed out
    const Component* component;  // only compared, never followed: tells a component replaced on the same object
};

// Raises "<Type> of game object <id> no longer exists" for a removed object, or a removed
// or replaced component.
[[noreturn]] void ComponentGone(lua_State* L, const LuaUsertype& type, std::uint32_t objectId);

template <typename T>
void* ResolveComponentObject(lua_State* L, void* block, const LuaUsertype& type)
{
    const auto* handle = static_cast<const LuaComponentObject*>(block);
    const std::uint32_t objectId = handle->object.slot;
    T* live = ComponentStore::Instance().GetComponent<T>(objectId);
    if (live == nullptr || GameObjectTable::Instance().Ref(objectId) != handle->object || live != handle->component)
        ComponentGone(L, type, objectId);
    return live;
}

// Pushes the object's component of type T, or nil when it has none.
template <typename T>
void PushComponentObject(lua_State* L, std::uint32_t objectId)
{
    const T* component = ComponentStore::Instance().GetComponent<T>(objectId);
    if (component == nullptr) {
        lua_pushnil(L);
        return;
    }
    new (lua_newuserdata(L, sizeof(LuaComponentObject)))
        LuaComponentObject{GameObjectTable::Instance().Ref(objectId), component};
    luaL_setmetatable(L, LuaTypeKey<T>::Key);
}

// A bound function's result that gives scripts the object's component of type T (or nil).
template <typename T>
struct LuaComponent {
    std::uint32_t objectId;
};

template <typename T>
struct LuaValue<LuaComponent<T>> {
    static void Push(lua_State* L, const LuaComponent<T>& component) { PushComponentObject<T>(L, component.objectId); }
};

}  // namespace Engine

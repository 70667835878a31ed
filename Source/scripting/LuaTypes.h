// The engine types scripts can hold: TimerHandle (a value) and the Controller, RigidBody,
// Sprite, Transform and Checkpoint components (live references; their Lua names and fields are
// their tables' in core/ComponentFields.h). The script manager registers them into every new
// Lua state, before the global functions.
#pragma once

#include "core/ComponentFields.h"
#include "core/TimerHandle.h"
#include "scripting/LuaState.h"
#include "scripting/LuaUsertype.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace Engine {

template <>
struct LuaTypeKey<TimerHandle> {
    static constexpr const char* Name = "TimerHandle";
    static constexpr const char* Key = "Vantrel.TimerHandle";
};

namespace LuaTypesDetail {
// "Vantrel." and the component's Lua type name, as one terminated string.
template <typename T>
constexpr auto MakeKey()
{
    constexpr std::string_view prefix = "Vantrel.";
    constexpr std::string_view name = ComponentFields<T>::luaType;
    std::array<char, prefix.size() + name.size() + 1> key{};
    std::copy(prefix.begin(), prefix.end(), key.begin());
    std::copy(name.begin(), name.end(), key.begin() + prefix.size());
    return key;
}

template <typename T>
inline constexpr auto Key = MakeKey<T>();
}  // namespace LuaTypesDetail

// A component that scripts can hold is named in Lua as its table entry names it.
template <typename T>
    requires requires { ComponentFields<T>::luaType; }
struct LuaTypeKey<T> {
    static constexpr const char* Name = ComponentFields<T>::luaType;
    static constexpr const char* Key = LuaTypesDetail::Key<T>.data();
};

// A TimerHandle travels as a copy: reading a Controller's timer field gives a new object.
template <>
struct LuaValue<TimerHandle> {
    static constexpr const char* Expected = "TimerHandle";
    static bool Get(lua_State* L, int index, TimerHandle& out)
    {
        const TimerHandle* handle = ToValueObject<TimerHandle>(L, index);
        if (handle == nullptr)
            return false;
        out = *handle;
        return true;
    }
    static void Push(lua_State* L, const TimerHandle& handle) { PushValueObject(L, handle); }
};

// Registers the engine types in this order: TimerHandle (with TimerHandle.new), Controller,
// RigidBody, Sprite, Transform, Checkpoint.
void RegisterEngineTypes(LuaState& lua);

}  // namespace Engine

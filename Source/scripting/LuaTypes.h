// The engine types scripts can hold: TimerHandle (a value) and the Controller, RigidBody,
// Sprite, Transform and Checkpoint components (live references). The script manager
// registers them into every new Lua state, before the global functions.
#pragma once

#include "core/Checkpoint.h"
#include "core/Controller.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/TimerHandle.h"
#include "core/Transform.h"
#include "scripting/LuaState.h"
#include "scripting/LuaUsertype.h"

namespace Engine {

template <>
struct LuaTypeKey<TimerHandle> {
    static constexpr const char* Name = "TimerHandle";
    static constexpr const char* Key = "Vantrel.TimerHandle";
};
template <>
struct LuaTypeKey<Controller> {
    static constexpr const char* Name = "Controller";
    static constexpr const char* Key = "Vantrel.Controller";
};
template <>
struct LuaTypeKey<RigidBody> {
    static constexpr const char* Name = "RigidBody";
    static constexpr const char* Key = "Vantrel.RigidBody";
};
template <>
struct LuaTypeKey<Sprite> {
    static constexpr const char* Name = "Sprite";
    static constexpr const char* Key = "Vantrel.Sprite";
};
template <>
struct LuaTypeKey<Transform> {
    static constexpr const char* Name = "Transform";
    static constexpr const char* Key = "Vantrel.Transform";
};
template <>
struct LuaTypeKey<Checkpoint> {
    static constexpr const char* Name = "Checkpoint";
    static constexpr const char* Key = "Vantrel.Checkpoint";
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

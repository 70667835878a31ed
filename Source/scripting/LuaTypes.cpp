#include "scripting/LuaTypes.h"

#include "core/ComponentFields.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace Engine {

namespace {

template <typename T, std::size_t Index>
void AddScriptField(std::vector<LuaField>& fields)
{
    constexpr const auto& field = FieldAt<T, Index>;
    if constexpr (field.access == ScriptAccess::ReadOnly)
        fields.push_back(ReadOnlyField<field.member>(field.script));
    else if constexpr (field.access == ScriptAccess::ReadWrite)
        fields.push_back(Field<field.member>(field.script));
}

// The usertype of component T: the fields of its table that have a Lua name, in table order.
template <typename T>
LuaUsertype ComponentType()
{
    std::vector<LuaField> fields;
    [&]<std::size_t... Index>(std::index_sequence<Index...>) {
        (AddScriptField<T, Index>(fields), ...);
    }(std::make_index_sequence<FieldCount<T>>());
    return {LuaTypeKey<T>::Name, LuaTypeKey<T>::Key, &ResolveComponentObject<T>, std::move(fields)};
}

const LuaUsertype& TimerHandleType()
{
    static const LuaUsertype type{LuaTypeKey<TimerHandle>::Name, LuaTypeKey<TimerHandle>::Key, &ResolveValueObject,
                                  {Field<&TimerHandle::id>("id"), Field<&TimerHandle::revision>("revision")}};
    return type;
}

template <typename T>
const LuaUsertype& ComponentUsertype()
{
    static const LuaUsertype type = ComponentType<T>();
    return type;
}

}  // namespace

void RegisterEngineTypes(LuaState& lua)
{
    lua_State* L = lua.Raw();
    RegisterUsertype(L, TimerHandleType());
    lua.SetFunctionIn("TimerHandle", "new", [] { return TimerHandle{}; });
    RegisterUsertype(L, ComponentUsertype<Controller>());
    RegisterUsertype(L, ComponentUsertype<RigidBody>());
    RegisterUsertype(L, ComponentUsertype<Sprite>());  // no fields: scripts can only hold one
    RegisterUsertype(L, ComponentUsertype<Transform>());
    RegisterUsertype(L, ComponentUsertype<Checkpoint>());
}

}  // namespace Engine

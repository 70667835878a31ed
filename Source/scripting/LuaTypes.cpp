#include "scripting/LuaTypes.h"

namespace Engine {

namespace {

template <typename T>
LuaUsertype ComponentType(std::vector<LuaField> fields)
{
    return {LuaTypeKey<T>::Name, LuaTypeKey<T>::Key, &ResolveComponentObject<T>, std::move(fields)};
}

const LuaUsertype& TimerHandleType()
{
    static const LuaUsertype type{LuaTypeKey<TimerHandle>::Name, LuaTypeKey<TimerHandle>::Key, &ResolveValueObject,
                                  {Field<&TimerHandle::id>("id"), Field<&TimerHandle::revision>("revision")}};
    return type;
}

// The six motion constants are read-only: scripts steer through velocities and flags.
const LuaUsertype& ControllerType()
{
    static const LuaUsertype type = ComponentType<Controller>({
        ReadOnlyField<&Controller::x_acc>("x_acc"),
        ReadOnlyField<&Controller::y_acc>("y_acc"),
        Field<&Controller::x_vel>("x_vel"),
        Field<&Controller::y_vel>("y_vel"),
        ReadOnlyField<&Controller::maxvelx>("maxvelx"),
        ReadOnlyField<&Controller::maxvely>("maxvely"),
        ReadOnlyField<&Controller::jumpvel>("jumpvel"),
        ReadOnlyField<&Controller::fric>("fric"),
        Field<&Controller::next_x_pos>("next_x_pos"),
        Field<&Controller::next_y_pos>("next_y_pos"),
        Field<&Controller::isGrounded>("isGrounded"),
        Field<&Controller::facingRt>("facingRt"),
        Field<&Controller::airSkillSpent>("airSkillSpent"),
        Field<&Controller::waterSkillSpent>("waterSkillSpent"),
        Field<&Controller::airSkillActive>("airSkillActive"),
        Field<&Controller::airSkillTimer>("airSkillTimer"),
        Field<&Controller::waterSkillTimer>("waterSkillTimer"),
        Field<&Controller::airDelayTimer>("airDelayTimer"),
        Field<&Controller::waterDelayTimer>("waterDelayTimer"),
        Field<&Controller::godMode>("godMode"),
        Field<&Controller::isDead>("isDead"),
    });
    return type;
}

const LuaUsertype& RigidBodyType()
{
    static const LuaUsertype type = ComponentType<RigidBody>({
        Field<&RigidBody::left>("left"),
        Field<&RigidBody::top>("top"),
        Field<&RigidBody::right>("right"),
        Field<&RigidBody::bottom>("bottom"),
    });
    return type;
}

// A Sprite can be held and passed on, but none of its members is reachable.
const LuaUsertype& SpriteType()
{
    static const LuaUsertype type = ComponentType<Sprite>({});
    return type;
}

const LuaUsertype& TransformType()
{
    static const LuaUsertype type = ComponentType<Transform>({
        Field<&Transform::x_pos>("x_pos"),
        Field<&Transform::y_pos>("y_pos"),
        Field<&Transform::z_pos>("z_pos"),
        Field<&Transform::x_sca>("x_sca"),
        Field<&Transform::y_sca>("y_sca"),
        Field<&Transform::rot>("rot"),
    });
    return type;
}

const LuaUsertype& CheckpointType()
{
    static const LuaUsertype type = ComponentType<Checkpoint>({
        Field<&Checkpoint::x>("x"),
        Field<&Checkpoint::y>("y"),
    });
    return type;
}

}  // namespace

void RegisterEngineTypes(LuaState& lua)
{
    lua_State* L = lua.Raw();
    RegisterUsertype(L, TimerHandleType());
    lua.SetFunctionIn("TimerHandle", "new", [] { return TimerHandle{}; });
    RegisterUsertype(L, ControllerType());
    RegisterUsertype(L, RigidBodyType());
    RegisterUsertype(L, SpriteType());
    RegisterUsertype(L, TransformType());
    RegisterUsertype(L, CheckpointType());
}

}  // namespace Engine

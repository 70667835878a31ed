// Engine::ComponentFields: one table per component of its fields (file key, Lua name, inspector
// label and widget, member), in the order the level file format reads them, with the component's
// member name in an entry, its Lua type name and its inspector panel. The level readers and
// writer (data/), the Lua usertypes (scripting/), the inspector and the editor's copies (editor/)
// all walk these tables.
#pragma once

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/FieldInfo.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <tuple>
#include <type_traits>
#include <utility>

namespace Engine {

template <typename... Components>
struct ComponentList {};

// The components of a level entry in the order a load adds them and a save writes them. The
// controller is stored only as being there, the event set as its handlers (neither has rows
// here); HeatMap is never stored.
using EntryComponents = ComponentList<Transform, Sprite, RigidBody, Controller, Parallax, Animation, EventSet, Checkpoint, Range>;

// The same without the controller and the event set: the components whose fields are stored.
using StoredComponents = ComponentList<Transform, Sprite, RigidBody, Parallax, Animation, Checkpoint, Range>;

// Specialised for each component: `member` (its member in an entry), `luaType` (the name of its
// usertype in Lua; only the components that scripts can hold have one), `title` (its inspector
// panel, also the panel's identifier), `removeButton` (the identifier of the panel's "Remove"
// button; null: none) and `fields`, a tuple of FieldInfo.
template <typename T>
struct ComponentFields;

template <>
struct ComponentFields<Transform> {
    static constexpr const char* member = "Transform";
    static constexpr const char* luaType = "Transform";
    static constexpr const char* title = "Transform";
    static constexpr const char* removeButton = "Transform Remove Button";
    static constexpr auto fields = std::make_tuple(
        Member(&Transform::x_pos).File("PosX").Lua("x_pos").Inspector(
            Shown(0, InspectorWidget::Drag, "X", 0).Row(" Position", 70, 35)),
        Member(&Transform::y_pos).File("PosY").Lua("y_pos").Inspector(Shown(1, InspectorWidget::Drag, "Y", 1)),
        Member(&Transform::z_pos).File("PosZ").Lua("z_pos").Inspector(Shown(2, InspectorWidget::Drag, "Z", 5)),
        Member(&Transform::x_sca).File("ScaleX").Lua("x_sca").Inspector(
            Shown(3, InspectorWidget::ScaleX, "X", 2).Row(" Scale", 70, 65)),
        Member(&Transform::y_sca).File("ScaleY").Lua("y_sca").Inspector(Shown(4, InspectorWidget::ScaleY, "Y", 3)),
        Member(&Transform::rot).File("Rotation").Lua("rot").Inspector(
            Shown(5, InspectorWidget::Degrees, "X", 4).Row(" Rotation", 70, 65)));
};

// No field is reachable from Lua: scripts can only hold a Sprite.
template <>
struct ComponentFields<Sprite> {
    static constexpr const char* member = "Sprite";
    static constexpr const char* luaType = "Sprite";
    static constexpr const char* title = "Sprite";
    static constexpr const char* removeButton = "Sprite Remove Button";
    static constexpr auto fields = std::make_tuple(
        Member(&Sprite::Color).File("Color").Inspector(Shown(1, InspectorWidget::ColorEdit, "##Color", -1).Row(" Color", 75)),
        Member(&Sprite::MeshIndex).File("MeshIndex"),
        Member(&Sprite::Texture).File("Texture").Inspector(
            Shown(0, InspectorWidget::ImageName, "", "SpriteSource").Row(" Sprite Source", 110, 70)));
};

inline constexpr NamedValue BodyTypeNames[] = {{"Dynamic", 1}, {"Kinematic", 2}, {"Static", 0}};
inline constexpr NamedValue ColliderTypeNames[] = {{"Box", 0}, {"Line", 1}};

template <>
struct ComponentFields<RigidBody> {
    static constexpr const char* member = "RigidBody";
    static constexpr const char* luaType = "RigidBody";
    static constexpr const char* title = "Rigidbody";
    static constexpr const char* removeButton = "RB Remove Button";
    static constexpr auto fields = std::make_tuple(
        Member(&RigidBody::left).File("Left").Lua("left"),
        Member(&RigidBody::top).File("Top").Lua("top").Inspector(Shown(1, InspectorWidget::HalfHeight, "Y", 7)),
        Member(&RigidBody::right).File("Right").Lua("right").Inspector(
            Shown(0, InspectorWidget::HalfWidth, "X", 6).Row(" Size", 75, 65)),
        Member(&RigidBody::bottom).File("Bottom").Lua("bottom"),
        Member(&RigidBody::Weight).File("Weight").Inspector(
            Shown(2, InspectorWidget::DragUnit, "##Weight", 8).Row(" Weight", 75, 65)),
        Member(&RigidBody::BodyType).File("BodyType").Inspector(
            ShownChoice(3, "rbBodyType", BodyTypeNames).Row(" Body Type", 150)),
        Member(&RigidBody::ColliderType).File("ColliderType").Inspector(
            ShownChoice(4, "rbType", ColliderTypeNames).Row(" Collider Type", 150)),
        Member(&RigidBody::Ghost).File("Ghost").Inspector(Shown(5, InspectorWidget::Check, "##Ghost", 9).Row(" Ghost", 75)));
};

// Read-only to scripts: the six motion constants. The Lua order is the usertype's own.
template <>
struct ComponentFields<Controller> {
    static constexpr const char* member = "Controller";
    static constexpr const char* luaType = "Controller";
    static constexpr const char* title = "Controller";
    static constexpr const char* removeButton = "Controller Remove Button";
    static constexpr ScriptAccess Constant = ScriptAccess::ReadOnly;
    static constexpr auto fields = std::make_tuple(
        Member(&Controller::x_acc).Lua("x_acc", Constant).Inspector(ShownValue(0, "X", 8, 138).Row(" Acceleration", 0)),
        Member(&Controller::y_acc).Lua("y_acc", Constant).Inspector(ShownValue(1, "Y", 8, 230)),
        Member(&Controller::x_vel).Lua("x_vel").Inspector(ShownValue(2, "X", 4, 138).Row(" Velocity", 0)),
        Member(&Controller::y_vel).Lua("y_vel").Inspector(ShownValue(3, "Y", 4, 230)),
        Member(&Controller::maxvelx).Lua("maxvelx", Constant),
        Member(&Controller::maxvely).Lua("maxvely", Constant),
        Member(&Controller::jumpvel).Lua("jumpvel", Constant),
        Member(&Controller::fric).Lua("fric", Constant).Inspector(
            Shown(4, InspectorWidget::ReadOnlyText, "", -1).Row(" Friction", 78)),
        Member(&Controller::next_x_pos).Lua("next_x_pos"),
        Member(&Controller::next_y_pos).Lua("next_y_pos"),
        Member(&Controller::isGrounded).Lua("isGrounded"),
        Member(&Controller::facingRt).Lua("facingRt"),
        Member(&Controller::airSkillSpent).Lua("airSkillSpent"),
        Member(&Controller::waterSkillSpent).Lua("waterSkillSpent"),
        Member(&Controller::airSkillActive).Lua("airSkillActive"),
        Member(&Controller::airSkillTimer).Lua("airSkillTimer"),
        Member(&Controller::waterSkillTimer).Lua("waterSkillTimer"),
        Member(&Controller::airDelayTimer).Lua("airDelayTimer"),
        Member(&Controller::waterDelayTimer).Lua("waterDelayTimer"),
        Member(&Controller::godMode).Lua("godMode"),
        Member(&Controller::isDead).Lua("isDead"));
};

inline constexpr NamedValue ParallaxLevelNames[] = {{"Foreground", 1}, {"Main", 2}, {"Background", 3}, {"Far Background", 4}};

template <>
struct ComponentFields<Parallax> {
    static constexpr const char* member = "Parallax";
    static constexpr const char* title = "Parallax";
    static constexpr const char* removeButton = "Parallax Remove Button";
    static constexpr auto fields = std::make_tuple(
        Member(&Parallax::PosX).File("PosX").Inspector(Shown(0, InspectorWidget::Drag, "X", 10).Row(" Position", 70, 35)),
        Member(&Parallax::PosY).File("PosY").Inspector(Shown(1, InspectorWidget::Drag, "Y", 11)),
        Member(&Parallax::Level).File("Level").Inspector(ShownChoice(2, "Parallax", ParallaxLevelNames).Row(" Level", 70, 70)));
};

template <>
struct ComponentFields<Animation> {
    static constexpr const char* member = "Animation";
    static constexpr const char* title = "Animation";
    static constexpr const char* removeButton = "Animation Remove Button";
    static constexpr auto fields = std::make_tuple(Member(&Animation::Handle).File("Handle").Inspector(
        Shown(0, InspectorWidget::AnimationName, "", "Animations").Row(" Animation Handle", 125, 80)));
};

// Level files only: the archetype file has no checkpoints.
template <>
struct ComponentFields<Checkpoint> {
    static constexpr const char* member = "Checkpoint";
    static constexpr const char* luaType = "Checkpoint";
    static constexpr const char* title = "Checkpoint";
    static constexpr const char* removeButton = nullptr;
    static constexpr auto fields = std::make_tuple(
        Member(&Checkpoint::x).File("PosX").Lua("x").Inspector(
            Shown(0, InspectorWidget::Drag, "X", "checkpointx").Row(" Position", 70, 35)),
        Member(&Checkpoint::y).File("PosY").Lua("y").Inspector(Shown(1, InspectorWidget::Drag, "Y", "checkpointy")));
};

template <>
struct ComponentFields<Range> {
    static constexpr const char* member = "Range";
    static constexpr const char* title = "Enemy Logic";
    static constexpr const char* removeButton = nullptr;
    static constexpr auto fields = std::make_tuple(
        Member(&Range::range).File("Range").Inspector(Shown(0, InspectorWidget::Drag, "##value", "range").Row(" Range", 70, 35)),
        Member(&Range::speed).File("BulletSpeed").Inspector(
            Shown(1, InspectorWidget::Drag, "##value", "speed").Row(" Speed", 70, 35)));
};

// The event set's entry member, whose shape is the file format's own (see EntryReader), and
// its panel (editor/EventsPanel.cpp draws it).
template <>
struct ComponentFields<EventSet> {
    static constexpr const char* member = "Events";
    static constexpr const char* title = "Events";
};

template <typename T>
constexpr std::size_t FieldCount = std::tuple_size_v<std::decay_t<decltype(ComponentFields<T>::fields)>>;

template <typename T, std::size_t Index>
constexpr const auto& FieldAt = std::get<Index>(ComponentFields<T>::fields);

// Calls visit(field) for each field of T, in table order.
template <typename T, typename Visit>
constexpr void ForEachField(Visit&& visit)
{
    std::apply([&](const auto&... field) { (visit(field), ...); }, ComponentFields<T>::fields);
}

namespace ComponentFieldsDetail {
template <typename T, typename Visit, std::size_t... Index>
constexpr void VisitStored(Visit& visit, std::index_sequence<Index...>)
{
    (
        [&] {
            if constexpr (FieldAt<T, Index>.key != nullptr)
                visit(FieldAt<T, Index>);
        }(),
        ...);
}
}  // namespace ComponentFieldsDetail

// Calls visit(field) for each field of T that a level entry stores, in table order.
template <typename T, typename Visit>
constexpr void ForEachStoredField(Visit&& visit)
{
    ComponentFieldsDetail::VisitStored<T>(visit, std::make_index_sequence<FieldCount<T>>());
}

template <typename T>
constexpr std::size_t StoredFieldCount()
{
    std::size_t count = 0;
    ForEachStoredField<T>([&](const auto&) { ++count; });
    return count;
}

// The component whose member `member` is.
template <auto member>
using ClassOf = typename decltype(Member(member))::Component;

// True when `field` is the table's row of `member`, or of one of `members`.
template <auto member, typename Field>
constexpr bool IsField(const Field& field)
{
    if constexpr (std::is_same_v<decltype(field.member), decltype(member)>)
        return field.member == member;
    else
        return false;
}

template <auto... members, typename Field>
constexpr bool IsAnyField([[maybe_unused]] const Field& field)
{
    return (IsField<members>(field) || ...);
}

// True when the table of its component has a row of `member`.
template <auto member>
constexpr bool HasField()
{
    bool found = false;
    ForEachField<ClassOf<member>>([&](const auto& field) { found = found || IsField<member>(field); });
    return found;
}

// The file key of the stored field that is `member`, for code that reads a component's fields
// in an order of its own.
template <auto member>
constexpr const char* FindFileKey()
{
    const char* key = nullptr;
    ForEachField<ClassOf<member>>([&](const auto& field) {
        if (IsField<member>(field))
            key = field.key;
    });
    return key;
}

template <auto member>
inline constexpr const char* FileKey = FindFileKey<member>();

// Copies every field of T's table from `from` into `to`, except the `kept` members, which keep
// what `to` holds: a copy's own rules name those, and set what they set after it. Members
// outside the table are not touched. CopyFields<&RigidBody::Weight>(record, body) copies all
// but the weight.
template <auto... kept, typename T>
void CopyFields(const T& from, T& to)
{
    static_assert(((std::is_same_v<ClassOf<kept>, T> && HasField<kept>()) && ...), "a kept member is a field of T's table");
    ForEachField<T>([&](const auto& field) {
        if (IsAnyField<kept...>(field))
            return;
        if constexpr (std::decay_t<decltype(field)>::kind == FieldKind::Color)
            std::copy(std::begin(field.Of(from)), std::end(field.Of(from)), std::begin(field.Of(to)));
        else
            field.Of(to) = field.Of(from);
    });
}

// The place of component T in a list, and the length of a list.
template <typename T, typename... Components>
constexpr std::size_t IndexIn(ComponentList<Components...>)
{
    std::size_t index = 0;
    const bool found = ((std::is_same_v<T, Components> || (++index, false)) || ...);
    return found ? index : sizeof...(Components);
}

template <typename... Components>
constexpr std::size_t LengthOf(ComponentList<Components...>)
{
    return sizeof...(Components);
}

// Calls visit.template operator()<T>() for each component of the list, in its order.
template <typename... Components, typename Visit>
constexpr void ForEachComponent(ComponentList<Components...>, Visit&& visit)
{
    (visit.template operator()<Components>(), ...);
}

}  // namespace Engine

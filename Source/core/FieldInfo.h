// Engine::FieldInfo: what the engine knows of one component field in one place: its key in a
// level entry, its name in Lua and how the inspector shows it, with the member it is. The rows
// of core/ComponentFields.h are made of these; the level readers and writer, the Lua usertypes
// and the inspector's panels walk them.
#pragma once

#include "core/TimerHandle.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>

namespace Engine {

// The shape of a field's value, from the member's own type.
enum class FieldKind { Float, Int, Bool, String, Color, Timer };

template <typename Type>
constexpr FieldKind KindOf()
{
    if constexpr (std::is_same_v<Type, float>)
        return FieldKind::Float;
    else if constexpr (std::is_same_v<Type, std::int32_t>)
        return FieldKind::Int;
    else if constexpr (std::is_same_v<Type, bool>)
        return FieldKind::Bool;
    else if constexpr (std::is_same_v<Type, std::string>)
        return FieldKind::String;
    else if constexpr (std::is_same_v<Type, float[4]>)
        return FieldKind::Color;  // red, green, blue, alpha
    else {
        static_assert(std::is_same_v<Type, TimerHandle>, "a field is a float, int, bool, string, colour or timer");
        return FieldKind::Timer;
    }
}

// The four members of a stored colour, in channel order (they are plain numbers in the file).
inline constexpr const char* ColorKeys[4] = {"X", "Y", "Z", "W"};

enum class ScriptAccess { None, ReadOnly, ReadWrite };

// A name the inspector shows for one value of an int field.
struct NamedValue {
    const char* name;
    std::int32_t value;
};

// The inspector's widget for a field. The plain ones draw the same for any component; the
// rest name a special case of one component, drawn by the editor's code of that name.
enum class InspectorWidget {
    None,           // not shown
    Drag,           // drag field: speed 1, no limits, "%.3f"
    DragUnit,       // drag field over 0 to 1 (speed from the range), "%.3f"
    Check,          // checkbox
    Choice,         // selectable of the value's name; its popup lists the named values
    ImageName,      // selectable of the name; its popup lists the editor's image names
    AnimationName,  // selectable of the name; its popup lists the loaded animation names
    ColorEdit,      // colour editor with the alpha bar and preview
    ReadOnlyValue,  // text, right-aligned to end at `edge`, `digits` significant, then its label
    ReadOnlyText,   // text "%f"
    ScaleX,         // Transform x scale: also widens the RigidBody on both sides
    ScaleY,         // Transform y scale: also heightens the RigidBody on both sides
    Degrees,        // Transform rotation, shown in degrees
    HalfWidth,      // RigidBody right edge: left follows as its negative
    HalfHeight,     // RigidBody top edge: bottom follows as its negative
};

// Where and how the inspector shows a field. Fields with a row label begin a row: the label,
// then the widgets from `rowX` on (0: right after the label), at item width `width` (0: as it
// is); a field without one stands on the row of the field shown before it.
struct InspectorField {
    int place = -1;  // order in the panel; -1: not shown
    InspectorWidget widget = InspectorWidget::None;
    const char* label = "";       // the widget's label; a ReadOnlyValue's follows its value
    int number = -1;              // the widget's identifier when it is a number, else -1
    const char* name = nullptr;   // when it is a name (a popup's name for Choice and the name lists)
    const char* row = nullptr;
    float rowX = 0.0f;
    float width = 0.0f;
    std::span<const NamedValue> choices{};
    int digits = 0;
    float edge = 0.0f;

    constexpr InspectorField Row(const char* text, float x, float itemWidth = 0.0f) const
    {
        InspectorField field = *this;
        field.row = text;
        field.rowX = x;
        field.width = itemWidth;
        return field;
    }
};

// Inspector entries, one maker per kind of widget.
constexpr InspectorField Shown(int place, InspectorWidget widget, const char* label, int number)
{
    InspectorField field;
    field.place = place;
    field.widget = widget;
    field.label = label;
    field.number = number;
    return field;
}

constexpr InspectorField Shown(int place, InspectorWidget widget, const char* label, const char* name)
{
    InspectorField field = Shown(place, widget, label, -1);
    field.name = name;
    return field;
}

constexpr InspectorField ShownChoice(int place, const char* popup, std::span<const NamedValue> choices)
{
    InspectorField field = Shown(place, InspectorWidget::Choice, "", popup);
    field.choices = choices;
    return field;
}

constexpr InspectorField ShownValue(int place, const char* axis, int digits, float edge)
{
    InspectorField field = Shown(place, InspectorWidget::ReadOnlyValue, axis, -1);
    field.digits = digits;
    field.edge = edge;
    return field;
}

template <typename Class, typename Type>
struct FieldInfo {
    using Component = Class;
    using Value = Type;
    static constexpr FieldKind kind = KindOf<Type>();

    Type Class::*member;
    const char* key = nullptr;     // the field's member in a level entry; null: not stored
    const char* script = nullptr;  // the field's name in Lua; null: not reachable from scripts
    ScriptAccess access = ScriptAccess::None;
    InspectorField inspector{};

    constexpr FieldInfo File(const char* fileKey) const
    {
        FieldInfo field = *this;
        field.key = fileKey;
        return field;
    }
    constexpr FieldInfo Lua(const char* name, ScriptAccess scriptAccess = ScriptAccess::ReadWrite) const
    {
        FieldInfo field = *this;
        field.script = name;
        field.access = scriptAccess;
        return field;
    }
    constexpr FieldInfo Inspector(InspectorField shown) const
    {
        FieldInfo field = *this;
        field.inspector = shown;
        return field;
    }

    Type& Of(Class& component) const { return component.*member; }
    const Type& Of(const Class& component) const { return component.*member; }
};

template <typename Class, typename Type>
constexpr FieldInfo<Class, Type> Member(Type Class::*member)
{
    return FieldInfo<Class, Type>{member};
}

}  // namespace Engine

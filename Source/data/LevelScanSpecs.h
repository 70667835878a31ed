// Engine::LevelScanSpecs: what the level scanner takes from an entry, made from the field
// tables (core/ComponentFields.h): each stored component's member and fields, the record slots
// they fill, and bit sets sized from the tables for telling a repeated or a missing member.
#pragma once

#include "data/LevelEntryRecord.h"

#include <algorithm>
#include <bitset>
#include <cstddef>
#include <iterator>
#include <optional>
#include <string_view>

namespace Engine {

class LevelScanSpecs {
public:
    // One stored field of a component: its key, its shape and the slot of
    // LevelEntryRecord::Fields it fills.
    struct Field {
        std::string_view key;
        FieldKind kind = FieldKind::Float;
        int slot = 0;
    };

    // The members of a colour, plain numbers in floats 0 to 3.
    static constexpr std::size_t ColorMemberCount = std::size(ColorKeys);

    // A component's members read so far: a bit per stored field in table order, then one per
    // colour member from ColorBit on (as many field bits as the component with the most).
    static constexpr std::size_t ColorBit = [] {
        std::size_t most = 0;
        ForEachComponent(StoredComponents(), [&]<typename T>() { most = std::max(most, StoredFieldCount<T>()); });
        return most;
    }();
    using FieldSet = std::bitset<ColorBit + ColorMemberCount>;

    // An entry's members read so far: a bit per stored component by LevelEntryRecord::IndexOf,
    // then the handle, the controller and the event set.
    static constexpr std::size_t HandleBit = LevelEntryRecord::ComponentCount;
    static constexpr std::size_t ControllerBit = HandleBit + 1;
    static constexpr std::size_t EventsBit = HandleBit + 2;
    using MemberSet = std::bitset<EventsBit + 1>;

    // The entry members that are not stored components.
    static constexpr std::string_view HandleMember = "Handle";
    static constexpr std::string_view ControllerMember = ComponentFields<Controller>::member;
    static constexpr std::string_view EventsMember = ComponentFields<EventSet>::member;

    // The stored component (its LevelEntryRecord::IndexOf) whose entry member is `member`.
    static std::optional<int> ComponentOf(std::string_view member);
    // The stored field `key` of a component, and its bit; null when the component has none.
    static const Field* FieldOf(int component, std::string_view key, std::size_t& bit);
    // The colour member `key` (0 to 3, its float and its bit above ColorBit).
    static std::optional<std::size_t> ColorMemberOf(std::string_view key);
    // The bits of a component read whole: every field, and every member of its colour.
    static const FieldSet& Required(int component);
};

}  // namespace Engine

#include "data/LevelScanSpecs.h"

#include <array>
#include <span>
#include <type_traits>

namespace Engine {

namespace {

using Record = LevelEntryRecord;
using Field = LevelScanSpecs::Field;

// The stored fields of T from its table, with the slots LevelEntryRecord::Fields keeps them in.
template <typename T>
constexpr std::array<Field, StoredFieldCount<T>()> MakeFields()
{
    std::array<Field, StoredFieldCount<T>()> fields{};
    Record::SlotCounter slots;
    std::size_t index = 0;
    ForEachStoredField<T>([&](const auto& field) {
        constexpr FieldKind kind = std::decay_t<decltype(field)>::kind;
        fields[index++] = Field{field.key, kind, static_cast<int>(slots.Next(kind))};
    });
    if (!slots.Fits())
        throw "the fields do not fit LevelEntryRecord::Fields";  // stops the constant evaluation
    return fields;
}

template <typename T>
constexpr std::array<Field, StoredFieldCount<T>()> FieldsOf = MakeFields<T>();

struct ComponentSpec {
    std::string_view member;
    std::span<const Field> fields;
};

constexpr std::array<ComponentSpec, Record::ComponentCount> MakeComponents()
{
    std::array<ComponentSpec, Record::ComponentCount> components{};
    ForEachComponent(StoredComponents(), [&]<typename T>() {
        components[Record::IndexOf<T>] = ComponentSpec{ComponentFields<T>::member, FieldsOf<T>};
    });
    return components;
}

constexpr std::array<ComponentSpec, Record::ComponentCount> Components = MakeComponents();

constexpr std::array<std::string_view, LevelScanSpecs::ColorMemberCount> ColorMembers = [] {
    std::array<std::string_view, LevelScanSpecs::ColorMemberCount> members{};
    std::copy(std::begin(ColorKeys), std::end(ColorKeys), members.begin());
    return members;
}();

std::array<LevelScanSpecs::FieldSet, Record::ComponentCount> MakeRequired()
{
    std::array<LevelScanSpecs::FieldSet, Record::ComponentCount> required;
    for (std::size_t c = 0; c < Components.size(); ++c)
        for (std::size_t i = 0; i < Components[c].fields.size(); ++i) {
            required[c].set(i);
            if (Components[c].fields[i].kind == FieldKind::Color)
                for (std::size_t member = 0; member < ColorMembers.size(); ++member)
                    required[c].set(LevelScanSpecs::ColorBit + member);
        }
    return required;
}

}  // namespace

std::optional<int> LevelScanSpecs::ComponentOf(std::string_view member)
{
    for (std::size_t c = 0; c < Components.size(); ++c)
        if (Components[c].member == member)
            return static_cast<int>(c);
    return std::nullopt;
}

const LevelScanSpecs::Field* LevelScanSpecs::FieldOf(int component, std::string_view key, std::size_t& bit)
{
    const std::span<const Field> fields = Components[static_cast<std::size_t>(component)].fields;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].key == key) {
            bit = i;
            return &fields[i];
        }
    return nullptr;
}

std::optional<std::size_t> LevelScanSpecs::ColorMemberOf(std::string_view key)
{
    const auto* member = std::find(ColorMembers.begin(), ColorMembers.end(), key);
    if (member == ColorMembers.end())
        return std::nullopt;
    return static_cast<std::size_t>(member - ColorMembers.begin());
}

const LevelScanSpecs::FieldSet& LevelScanSpecs::Required(int component)
{
    static const std::array<FieldSet, Record::ComponentCount> required = MakeRequired();
    return required[static_cast<std::size_t>(component)];
}

}  // namespace Engine

#include "data/EntrySnapshot.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace Engine {

namespace {

template <typename Part>
std::optional<Part> CopyOf(ComponentStore& store, std::uint32_t id)
{
    const Part* part = store.GetComponent<Part>(id);
    return part != nullptr ? std::optional<Part>(*part) : std::nullopt;
}

// Equal in the fields an entry stores, as the component's table lists them.
template <typename Part>
bool Same(const Part& a, const Part& b)
{
    bool same = true;
    ForEachStoredField<Part>([&](const auto& field) {
        const auto& left = field.Of(a);
        const auto& right = field.Of(b);
        if constexpr (std::decay_t<decltype(field)>::kind == FieldKind::Color)
            same = same && std::equal(std::begin(left), std::end(left), std::begin(right));
        else
            same = same && left == right;
    });
    return same;
}

bool Same(const EventSet& a, const EventSet& b) { return a.events == b.events; }

template <typename Part>
bool Same(const std::optional<Part>& a, const std::optional<Part>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a.has_value() || Same(*a, *b);
}

}  // namespace

EntrySnapshot EntrySnapshot::Of(std::uint32_t objectId)
{
    EntrySnapshot snapshot;
    const GameObject* object = GameObjectTable::Instance().Get(objectId);
    if (object == nullptr)
        return snapshot;
    ComponentStore& store = ComponentStore::Instance();
    snapshot.name = object->name;
    ForEachComponent(EntryComponents(), [&]<typename T>() {
        if constexpr (std::is_same_v<T, Controller>)
            snapshot.controller = store.GetComponent<Controller>(objectId) != nullptr;
        else
            snapshot.Copy<T>() = CopyOf<T>(store, objectId);
    });
    return snapshot;
}

bool EntrySnapshot::SameStoredFields(const EntrySnapshot& other) const
{
    bool same = name == other.name;
    ForEachComponent(EntryComponents(), [&]<typename T>() {
        if constexpr (std::is_same_v<T, Controller>)
            same = same && controller == other.controller;
        else
            same = same && Same(Copy<T>(), other.Copy<T>());
    });
    return same;
}

}  // namespace Engine

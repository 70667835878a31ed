#include "data/LevelEntryRecord.h"

#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelLoadSteps.h"

#include <algorithm>
#include <type_traits>

namespace Engine {

namespace {

constexpr std::int64_t KillZoneDelayMs = 1000;

// Copies the values of a present component member into the fields of its component.
template <typename T>
void Fill(T& component, const LevelEntryRecord::Fields& values)
{
    LevelEntryRecord::SlotCounter slots;
    ForEachStoredField<T>([&](const auto& field) {
        constexpr FieldKind kind = std::decay_t<decltype(field)>::kind;
        const std::size_t slot = slots.Next(kind);
        auto& value = field.Of(component);
        if constexpr (kind == FieldKind::Float)
            value = values.floats[slot];
        else if constexpr (kind == FieldKind::Color)
            std::copy_n(values.floats.begin() + static_cast<std::ptrdiff_t>(slot), 4, value);
        else if constexpr (kind == FieldKind::Int)
            value = values.ints[slot];
        else if constexpr (kind == FieldKind::Bool)
            value = values.flag;
        else if constexpr (kind == FieldKind::String)
            value = values.text;
    });
}

}  // namespace

void LevelEntryRecord::AddLoadedHandler(std::uint32_t id, const std::string& eventName, const std::string& handlerName)
{
    GetSystem<EventManager>()->AddEvent(id, eventName, handlerName);
    if (handlerName == "KillZone") {
        // The effect shows a moment after the level appears; nothing cancels it.
        AddTimer<DelayCallTimer>(KillZoneDelayMs, [id] { LevelLoadSteps::KillZoneDue(id); });
    }
}

void LevelEntryRecord::AddComponentsTo(std::uint32_t id) const
{
    ComponentStore& store = ComponentStore::Instance();
    ForEachComponent(EntryComponents(), [&]<typename T>() {
        if constexpr (std::is_same_v<T, Controller>) {
            if (hasController)
                store.AddComponent<Controller>(id);  // no field is read
        } else if constexpr (std::is_same_v<T, EventSet>) {
            if (hasEvents) {
                store.AddComponent<EventSet>(id);
                for (const auto& [eventName, handlers] : events)
                    for (const std::string& handler : handlers)
                        AddLoadedHandler(id, eventName, handler);
            }
        } else {
            const Fields& values = components[IndexOf<T>];
            if (values.present) {
                store.AddComponent<T>(id);
                Fill(*store.GetComponent<T>(id), values);
            }
        }
    });
}

}  // namespace Engine

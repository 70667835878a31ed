// Engine::LevelEntryRecord: one entry of a level file as the level scanner read it, with every
// field already checked and converted, so that making its object cannot meet a fault. The
// level loader adds its components in the order of the file format, as the general reader does.
#pragma once

#include "core/ComponentFields.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Engine {

struct LevelEntryRecord {
    // The component members of an entry with stored fields, in the order a load adds them (the
    // controller and the event set have no fields here and are kept apart).
    static constexpr std::size_t ComponentCount = LengthOf(StoredComponents());
    template <typename T>
    static constexpr std::size_t IndexOf = IndexIn<T>(StoredComponents());

    // One present component member's values: floats, ints, the bool and the string of its
    // fields, in the slots that SlotCounter gives them.
    struct Fields {
        bool present = false;
        std::array<float, 8> floats{};
        std::array<std::int32_t, 2> ints{};
        bool flag = false;
        std::string text;
    };

    // Gives the stored fields of one component, walked in table order, their slots in Fields:
    // each kind counts on its own, a colour takes four floats.
    struct SlotCounter {
        std::size_t floats = 0;
        std::size_t ints = 0;
        std::size_t flags = 0;
        std::size_t texts = 0;

        constexpr std::size_t Next(FieldKind kind)
        {
            switch (kind) {
            case FieldKind::Float:
                return floats++;
            case FieldKind::Color:
                floats += 4;
                return floats - 4;
            case FieldKind::Int:
                return ints++;
            case FieldKind::Bool:
                return flags++;
            case FieldKind::String:
                return texts++;
            case FieldKind::Timer:
                break;
            }
            return 0;
        }
        // True while every slot given so far exists in Fields.
        constexpr bool Fits() const
        {
            return floats <= std::tuple_size_v<decltype(Fields::floats)> && ints <= std::tuple_size_v<decltype(Fields::ints)>
                   && flags <= 1 && texts <= 1;
        }
    };

    using Handlers = std::pair<std::string, std::vector<std::string>>;  // one event, in array order

    std::string key;
    std::string handle;
    bool hasHandle = false;
    bool hasController = false;
    bool hasEvents = false;
    std::array<Fields, ComponentCount> components;
    std::vector<Handlers> events;  // in byte order of the event names once the scan ends
    std::string text;              // the entry as LevelBaseline::EntryText writes it, for the level's baseline

    // Makes the components of the entry on object id in EntryComponents' order, each added
    // through the component store and then given its fields; the handlers go through
    // AddLoadedHandler.
    void AddComponentsTo(std::uint32_t id) const;

    // What a load does for one handler of an entry's event: the event manager gets it, and a
    // "KillZone" handler also starts the kill-zone effect a moment later.
    static void AddLoadedHandler(std::uint32_t id, const std::string& eventName, const std::string& handlerName);
};

}  // namespace Engine

#include "data/EntryWriter.h"

#include "core/Log.h"

#include <cmath>
#include <string>
#include <type_traits>

namespace Engine {

namespace {

using Json = nlohmann::json;

// Writes the fields of one component of one object. A float that is not finite would go out
// as null, which no reader takes: it is written as 0, and the warning names what it was.
class FieldWriter {
public:
    FieldWriter(const std::string& objectName, const char* componentName) : object(objectName), component(componentName) {}

    void Write(Json& member, const char* key, float value) const { member[key] = Json::array({Number(nullptr, key, value)}); }
    void Write(Json& member, const char* key, std::int32_t value) const { member[key] = Json::array({value}); }
    void Write(Json& member, const char* key, bool value) const { member[key] = Json::array({value}); }
    void Write(Json& member, const char* key, const std::string& value) const { member[key] = Json::array({value}); }
    // The colour's members are plain numbers.
    void Write(Json& member, const char* key, const float (&color)[4]) const
    {
        Json& channels = member[key];
        for (std::size_t channel = 0; channel < 4; ++channel)
            channels[ColorKeys[channel]] = Number(key, ColorKeys[channel], color[channel]);
    }

private:
    // Floats go out as the double of their single-precision value.
    double Number(const char* group, const char* field, float value) const
    {
        if (std::isfinite(value))
            return static_cast<double>(value);
        if (group != nullptr)
            LogWarn("Saving {}: {} {} {} is {}, which cannot be stored; it is written as 0", object, component, group, field, value);
        else
            LogWarn("Saving {}: {} {} is {}, which cannot be stored; it is written as 0", object, component, field, value);
        return 0.0;
    }

    const std::string& object;
    const char* component;
};

// The stored fields of a component, as its table lists them.
template <typename T>
void Write(Json& member, const T& component, const std::string& object)
{
    const FieldWriter fields(object, ComponentFields<T>::member);
    ForEachStoredField<T>([&](const auto& field) { fields.Write(member, field.key, field.Of(component)); });
}

void Write(Json& entry, const EventSet& eventSet)
{
    for (const auto& [eventName, handlers] : eventSet.events) {
        // Reaching for "Events" only here keeps a set without handlers out of the file.
        for (std::size_t index = 0; index < handlers.size(); ++index)
            entry[ComponentFields<EventSet>::member][eventName][index] = Json::array({handlers[index]});
    }
}

}  // namespace

void EntryWriter::WriteComponents(Json& entry, std::uint32_t objectId, Checkpoints checkpoints)
{
    WriteComponents(entry, EntrySnapshot::Of(objectId), checkpoints);
}

void EntryWriter::WriteComponents(Json& entry, const EntrySnapshot& object, Checkpoints checkpoints)
{
    ForEachComponent(EntryComponents(), [&]<typename T>() {
        constexpr const char* member = ComponentFields<T>::member;
        if constexpr (std::is_same_v<T, Controller>) {
            if (object.controller)
                entry[member]["Exists"] = Json::array({true});
        } else if constexpr (std::is_same_v<T, EventSet>) {
            if (object.eventSet)
                Write(entry, *object.eventSet);
        } else {
            if (std::is_same_v<T, Checkpoint> && checkpoints == Checkpoints::Skipped)
                return;
            if (const std::optional<T>& copy = object.Copy<T>())
                Write(entry[member], *copy, object.name);
        }
    });
}

}  // namespace Engine

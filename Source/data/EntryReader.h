// Engine::EntryReader: reads the component members of one entry of a level or archetype file
// into component records, field by field, so that a fault leaves the fields read before it set.
// Used by the level loader and the archetype loader of Engine::LevelManager.
#pragma once

#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "data/JsonReader.h"

#include <cstdint>

#include <functional>
#include <string>

namespace Engine {

class EntryReader {
public:
    using Json = nlohmann::json;
    using EventVisitor = std::function<void(const std::string& eventName)>;
    using HandlerVisitor = std::function<void(const std::string& eventName, const std::string& handlerName)>;

    explicit EntryReader(JsonReader& fileReader) : reader(fileReader) {}

    // Takes the component member itself (already known to be an object) and reads the fields of
    // the component's table in their order.
    template <typename T>
    void Read(const Json& member, T& component) const
    {
        ForEachStoredField<T>([&](const auto& field) { ReadField(member, field.key, field.Of(component)); });
    }
    // Archetype files: the edges "Top", "Bottom", "Left", "Right" first, then the body's other
    // fields in table order; a "BodyType" of 5 or more loads as body and collider type 0, and
    // "ColliderType" is then not read at all.
    void ReadArchetypeRigidBody(const Json& member, RigidBody& body) const;

    // Visits every event of "Events" in byte order of the names (when `visitEvent` is given)
    // and each of its handlers in array order. What was visited before a fault stays visited.
    void ReadEvents(const Json& member, const EventVisitor& visitEvent, const HandlerVisitor& visitHandler) const;

    // When the entry has the member (it must be an object): reads it, inside its scope.
    template <typename ReadFunction>
    void ReadMember(const Json& entry, const char* member, ReadFunction&& read) const
    {
        const auto found = entry.find(member);
        if (found == entry.end())
            return;
        reader.ExpectObject(*found, member);
        JsonReader::Scope scope(reader, member);
        read(*found);
    }

    // When the entry has T's member: adds a T to the object, then reads the member into it.
    template <typename T>
    void AddComponent(const Json& entry, std::uint32_t id) const
    {
        ReadMember(entry, ComponentFields<T>::member, [&](const Json& found) {
            ComponentStore& store = ComponentStore::Instance();
            store.AddComponent<T>(id);
            Read(found, *store.GetComponent<T>(id));
        });
    }

private:
    void ReadField(const Json& member, const char* key, float& value) const;
    void ReadField(const Json& member, const char* key, std::int32_t& value) const;
    void ReadField(const Json& member, const char* key, bool& value) const;
    void ReadField(const Json& member, const char* key, std::string& value) const;
    void ReadField(const Json& member, const char* key, float (&color)[4]) const;  // plain numbers, not arrays

    JsonReader& reader;
};

}  // namespace Engine

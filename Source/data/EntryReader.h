// Engine::EntryReader: reads the component members of one entry of a level or archetype file
// into component records, field by field, so that a fault leaves the fields read before it set.
// Used by the level loader and the archetype loader of Engine::LevelManager.
#pragma once

#include "core/ComponentStore.h"
#include "data/JsonReader.h"

#include <cstdint>

#include <functional>
#include <string>

namespace Engine {

struct Transform;
struct Sprite;
struct RigidBody;
struct Parallax;
class Animation;
struct Checkpoint;
struct Range;

class EntryReader {
public:
    using Json = nlohmann::json;
    using EventVisitor = std::function<void(const std::string& eventName)>;
    using HandlerVisitor = std::function<void(const std::string& eventName, const std::string& handlerName)>;

    explicit EntryReader(JsonReader& fileReader) : reader(fileReader) {}

    // Each takes the component member itself (already known to be an object).
    void Read(const Json& member, Transform& transform) const;
    void Read(const Json& member, Sprite& sprite) const;
    void Read(const Json& member, RigidBody& body) const;
    // Archetype files: a "BodyType" of 5 or more loads as body and collider type 0, and
    // "ColliderType" is then not read at all.
    void ReadArchetypeRigidBody(const Json& member, RigidBody& body) const;
    void Read(const Json& member, Parallax& parallax) const;
    void Read(const Json& member, Animation& animation) const;
    void Read(const Json& member, Checkpoint& checkpoint) const;
    void Read(const Json& member, Range& range) const;

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

    // When the entry has the member: adds a T to the object, then reads the member into it.
    template <typename T>
    void AddComponent(const Json& entry, const char* member, std::uint32_t id) const
    {
        ReadMember(entry, member, [&](const Json& found) {
            ComponentStore& store = ComponentStore::Instance();
            store.AddComponent<T>(id);
            Read(found, *store.GetComponent<T>(id));
        });
    }

private:
    JsonReader& reader;
};

}  // namespace Engine

#include "data/EntrySnapshot.h"

#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"

#include <algorithm>
#include <iterator>

namespace Engine {

namespace {

template <typename Part>
std::optional<Part> CopyOf(ComponentStore& store, std::uint32_t id)
{
    const Part* part = store.GetComponent<Part>(id);
    return part != nullptr ? std::optional<Part>(*part) : std::nullopt;
}

// The fields an entry stores, one comparison per component.
bool Same(const Transform& a, const Transform& b)
{
    return a.x_pos == b.x_pos && a.y_pos == b.y_pos && a.z_pos == b.z_pos && a.x_sca == b.x_sca && a.y_sca == b.y_sca
           && a.rot == b.rot;
}

bool Same(const Sprite& a, const Sprite& b)
{
    return a.MeshIndex == b.MeshIndex && std::equal(std::begin(a.Color), std::end(a.Color), std::begin(b.Color))
           && a.Texture == b.Texture;
}

bool Same(const RigidBody& a, const RigidBody& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom && a.Weight == b.Weight
           && a.BodyType == b.BodyType && a.ColliderType == b.ColliderType && a.Ghost == b.Ghost;
}

bool Same(const Parallax& a, const Parallax& b) { return a.PosX == b.PosX && a.PosY == b.PosY && a.Level == b.Level; }
bool Same(const EventSet& a, const EventSet& b) { return a.events == b.events; }
bool Same(const Checkpoint& a, const Checkpoint& b) { return a.x == b.x && a.y == b.y; }
bool Same(const Range& a, const Range& b) { return a.range == b.range && a.speed == b.speed; }
bool Same(const std::string& a, const std::string& b) { return a == b; }

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
    snapshot.transform = CopyOf<Transform>(store, objectId);
    snapshot.sprite = CopyOf<Sprite>(store, objectId);
    snapshot.rigidBody = CopyOf<RigidBody>(store, objectId);
    snapshot.controller = store.GetComponent<Controller>(objectId) != nullptr;
    snapshot.parallax = CopyOf<Parallax>(store, objectId);
    if (const Animation* animation = store.GetComponent<Animation>(objectId))
        snapshot.animationHandle = animation->Handle;
    snapshot.eventSet = CopyOf<EventSet>(store, objectId);
    snapshot.checkpoint = CopyOf<Checkpoint>(store, objectId);
    snapshot.range = CopyOf<Range>(store, objectId);
    return snapshot;
}

bool EntrySnapshot::SameStoredFields(const EntrySnapshot& other) const
{
    return name == other.name && Same(transform, other.transform) && Same(sprite, other.sprite)
           && Same(rigidBody, other.rigidBody) && controller == other.controller && Same(parallax, other.parallax)
           && Same(animationHandle, other.animationHandle) && Same(eventSet, other.eventSet)
           && Same(checkpoint, other.checkpoint) && Same(range, other.range);
}

}  // namespace Engine

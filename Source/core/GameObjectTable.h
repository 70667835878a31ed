// Engine::GameObjectTable: the engine-wide table of 16384 game-object slots. It hands out
// ids (lowest free first), finds objects by name and removes them with their components.
// Engine::ObjectRef: an id held across frames, which knows when its object has been removed.
#pragma once

#include "core/GameObject.h"

#include <compare>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Engine {

inline constexpr std::uint32_t MaxGameObjects = 16384;
// One past the last id: the answer of a failed lookup, and of a creation on a full table.
inline constexpr std::uint32_t InvalidObjectId = MaxGameObjects;

// One game object as a holder sees it: the slot and the slot's generation when the reference
// was taken, so that a removed object is told apart from a later one given the same id.
struct ObjectRef {
    std::uint32_t slot = InvalidObjectId;
    std::uint32_t generation = 0;

    // True while the slot still holds the object this reference was taken to.
    bool IsLive() const;

    // Slot first: references order by id.
    friend auto operator<=>(const ObjectRef&, const ObjectRef&) = default;
};

class GameObjectTable {
public:
    static GameObjectTable& Instance();

    // Returns the new id, or InvalidObjectId when every slot is taken.
    std::uint32_t CreateGameObject(const std::string& name);
    // Deletes the object's components and its record; ids of 16384 or more change nothing.
    void RemoveGameObject(std::uint32_t id);
    // The lowest id whose object bears exactly this name, or InvalidObjectId.
    std::uint32_t FindGameObject(const std::string& name) const;

    // The record in a slot, or null for a free slot or an id outside the table.
    GameObject* Get(std::uint32_t id) const;

    // A reference to whatever the slot holds now; generation 0 for ids outside the table.
    ObjectRef Ref(std::uint32_t id) const { return {id, id < MaxGameObjects ? generations[id] : 0}; }

    std::vector<std::unique_ptr<GameObject>> slots;  // index = id; null = free
    std::uint32_t nextFree = 0;                      // lowest free id whenever one is free
    std::uint32_t highestUsed = 0;                   // highest id ever created; never lowered
    std::vector<std::uint32_t> generations;          // index = id; advanced when the slot's object is removed

    GameObjectTable(const GameObjectTable&) = delete;
    GameObjectTable& operator=(const GameObjectTable&) = delete;

private:
    GameObjectTable();
};

inline bool ObjectRef::IsLive() const
{
    const GameObjectTable& table = GameObjectTable::Instance();
    return table.Get(slot) != nullptr && table.generations[slot] == generation;
}

}  // namespace Engine

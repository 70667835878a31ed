// Engine::GameObjectTable: the engine-wide table of 16384 game-object slots. It hands out
// ids (lowest free first), finds objects by name and removes them with their components.
#pragma once

#include "core/GameObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Engine {

inline constexpr std::uint32_t MaxGameObjects = 16384;
// One past the last id: the answer of a failed lookup, and of a creation on a full table.
inline constexpr std::uint32_t InvalidObjectId = MaxGameObjects;

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

    // The slot's generation; a holder of an id recognises a removed object by a generation
    // that differs from the one it read. 0 for ids outside the table.
    std::uint32_t Generation(std::uint32_t id) const { return id < MaxGameObjects ? generations[id] : 0; }

    std::vector<std::unique_ptr<GameObject>> slots;  // index = id; null = free
    std::uint32_t nextFree = 0;                      // lowest free id whenever one is free
    std::uint32_t highestUsed = 0;                   // highest id ever created; never lowered
    std::vector<std::uint32_t> generations;          // index = id; advanced when the slot's object is removed

    GameObjectTable(const GameObjectTable&) = delete;
    GameObjectTable& operator=(const GameObjectTable&) = delete;

private:
    GameObjectTable();
};

}  // namespace Engine

#include "core/GameObjectTable.h"

#include "core/ComponentStore.h"
#include "core/Log.h"

namespace Engine {

GameObjectTable& GameObjectTable::Instance()
{
    static GameObjectTable table;
    return table;
}

GameObjectTable::GameObjectTable() : slots(MaxGameObjects), generations(MaxGameObjects, 0) {}

std::uint32_t GameObjectTable::CreateGameObject(const std::string& name)
{
    const std::uint32_t id = nextFree;
    // A full table leaves nextFree on the slot the last creation filled: never replace it.
    if (id >= MaxGameObjects || slots[id] != nullptr) {
        LogError("Cannot create GameObject \"{}\": all {} slots are taken", name, MaxGameObjects);
        return InvalidObjectId;
    }

    LogInfo("Creating GameObject {}", id);
    if (id > highestUsed)
        highestUsed = id;
    slots[id] = std::make_unique<GameObject>(GameObject{name, id});

    std::uint32_t next = id + 1;
    while (next < MaxGameObjects && slots[next] != nullptr)
        ++next;
    if (next < MaxGameObjects)
        nextFree = next;
    else
        LogWarn("Hit GameObject Limit!");
    return id;
}

void GameObjectTable::RemoveGameObject(std::uint32_t id)
{
    if (id >= MaxGameObjects) {
        LogWarn("Cannot remove GameObject {}: ids end at {}", id, MaxGameObjects - 1);
        return;
    }
    LogInfo("Removing GameObject {}", id);
    ComponentStore::Instance().RemoveAllComponents(id);
    slots[id].reset();
    ++generations[id];
    // On a full table nextFree still names an occupied slot; the freed one is then the only free one.
    if (id < nextFree || slots[nextFree] != nullptr)
        nextFree = id;
}

std::uint32_t GameObjectTable::FindGameObject(const std::string& name) const
{
    // No object was ever created above highestUsed.
    for (std::uint32_t id = 0; id <= highestUsed; ++id) {
        if (slots[id] != nullptr && slots[id]->name == name)
            return id;
    }
    return InvalidObjectId;
}

GameObject* GameObjectTable::Get(std::uint32_t id) const
{
    return id < MaxGameObjects ? slots[id].get() : nullptr;
}

}  // namespace Engine

#include "core/ComponentStore.h"

namespace Engine {

ComponentStore& ComponentStore::Instance()
{
    static ComponentStore store;
    return store;
}

ComponentStore::ComponentStore()
{
    for (Row& row : rows)
        row.resize(MaxGameObjects);
}

ComponentStore::~ComponentStore()
{
    for (Row& row : rows) {
        for (auto& slot : row)
            slot.reset();
    }
}

void ComponentStore::RemoveAllComponents(std::uint32_t objectId)
{
    if (objectId >= MaxGameObjects)
        return;
    for (Row& row : rows)
        row[objectId].reset();
}

}  // namespace Engine

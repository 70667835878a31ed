#include "gameplay/PositionUpdate.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"

namespace Engine {

void PositionUpdate::Init() {}

void PositionUpdate::Update()
{
    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= last; ++id) {
        const Controller* controller = store.GetComponent<Controller>(id);
        if (controller == nullptr)
            continue;
        Transform* transform = store.GetComponent<Transform>(id);
        if (transform == nullptr)
            continue;
        transform->x_pos = controller->next_x_pos;
        transform->y_pos = controller->next_y_pos;
    }
}

void PositionUpdate::Shutdown() {}

}  // namespace Engine

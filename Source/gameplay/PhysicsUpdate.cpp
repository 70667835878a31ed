#include "gameplay/PhysicsUpdate.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"

namespace Engine {

void PhysicsUpdate::Init() {}

// Velocities are never integrated here: scripts set them and collision resolution zeroes them.
void PhysicsUpdate::Update()
{
    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    const float dt = FrameDeltaTime;
    for (std::uint32_t id = 0; id <= last; ++id) {
        Controller* controller = store.GetComponent<Controller>(id);
        if (controller == nullptr)
            continue;
        const Transform* transform = store.GetComponent<Transform>(id);
        if (transform == nullptr)
            continue;  // nothing to start the prediction from: the Controller keeps its values
        // The grouping is part of the behaviour: it fixes the float rounding of every frame.
        controller->next_x_pos = (controller->x_vel * dt + transform->x_pos) + (0.5f * controller->x_acc) * dt * dt;
        controller->next_y_pos = (controller->y_vel * dt + transform->y_pos) + (0.5f * controller->y_acc) * dt * dt;
    }
}

void PhysicsUpdate::Shutdown() {}

}  // namespace Engine

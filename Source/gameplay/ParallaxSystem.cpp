#include "gameplay/ParallaxSystem.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/Transform.h"
#include "graphics/Camera.h"

#include <cstdint>

namespace Engine {

void ParallaxSystem::Init() {}

void ParallaxSystem::Update()
{
    ComponentStore& store = ComponentStore::Instance();
    const auto followedId = static_cast<std::uint32_t>(Camera::Instance()->followedObjectId);
    const Transform* followed = store.GetComponent<Transform>(followedId);
    if (followed == nullptr)
        return;  // nothing to follow: the layers stay where they are
    camX = followed->x_pos;
    camY = followed->y_pos;

    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= last; ++id) {
        const Parallax* layer = store.GetComponent<Parallax>(id);
        if (layer == nullptr || layer->Level == 0)
            continue;  // layer 0 would move infinitely far: it is left where it is
        Transform* transform = store.GetComponent<Transform>(id);
        if (transform == nullptr)
            continue;
        const float share = 1.0f / static_cast<float>(layer->Level);
        transform->x_pos = share * camX + layer->PosX;
        transform->y_pos = share * camY + layer->PosY;
        transform->z_pos = static_cast<float>(layer->Level - 2);
    }
}

void ParallaxSystem::Shutdown() {}

}  // namespace Engine

#include "gameplay/HeatMapTrail.h"

#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/HeatMap.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

namespace Engine {

namespace {
constexpr std::int64_t DropIntervalMs = 100;
constexpr std::int32_t DiscMesh = 2;
}  // namespace

void SpawnHeatMap()
{
    ComponentStore& store = ComponentStore::Instance();
    const auto playerId = static_cast<std::uint32_t>(Camera::Instance()->followedObjectId);
    const Transform* player = store.GetComponent<Transform>(playerId);
    if (player == nullptr)
        return;  // no player: nothing to mark, and the drops stop
    const float x = player->x_pos;
    const float y = player->y_pos;
    const float scaleX = player->x_sca;
    const float scaleY = player->y_sca;

    const std::uint32_t marker = GameObjectTable::Instance().CreateGameObject("HeatMapObj");
    if (marker == InvalidObjectId)
        return;
    store.AddComponent<Transform>(marker);
    Transform* transform = store.GetComponent<Transform>(marker);
    transform->x_pos = x;
    transform->y_pos = y;
    transform->x_sca = scaleX;
    transform->y_sca = scaleY;
    store.AddComponent<HeatMap>(marker);  // no Sprite: not drawn until shown

    // The next drop goes to the player of this drop, even if the camera follows another by then.
    AddTimer<DelayCallTimer>(DropIntervalMs,
                             [playerId] { GetSystem<EventManager>()->TriggerEvent(playerId, "Spawn HeatMap"); });
}

void ShowHeatMap()
{
    ComponentStore& store = ComponentStore::Instance();
    const Sprite* player = store.GetComponent<Sprite>(static_cast<std::uint32_t>(Camera::Instance()->followedObjectId));
    if (player == nullptr)
        return;
    // Copied first: a player that carries a HeatMap itself gets its Sprite replaced below.
    float color[4];
    std::copy(std::begin(player->Color), std::end(player->Color), color);
    const std::string texture = player->Texture;

    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= last; ++id) {
        if (store.GetComponent<HeatMap>(id) == nullptr)
            continue;
        store.AddComponent<Sprite>(id);
        Sprite* sprite = store.GetComponent<Sprite>(id);
        std::copy(std::begin(color), std::end(color), sprite->Color);
        sprite->MeshIndex = DiscMesh;
        sprite->Texture = texture;
    }
}

}  // namespace Engine

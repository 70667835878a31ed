#include "game/LevelRoutes.h"

#include "core/AnimationTable.h"
#include "core/EventManager.h"
#include "core/SystemManager.h"
#include "data/LevelLoadSteps.h"
#include "data/LevelManager.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <cstdint>

namespace Engine {

namespace {

void ClearEmitters()
{
    // Live particles fly on; only the emitters go, the trail with them.
    GetSystem<ParticleSystem>()->emitters.clear();
}

void StartLevelEffects()
{
    const std::int32_t followed = Camera::Instance()->followedObjectId;
    GetSystem<EventManager>()->TriggerEvent(static_cast<std::uint32_t>(followed), "Spawn HeatMap");
    GetSystem<ParticleSystem>()->CreatePlayerTrail(0.0f, 86.0f, 255.0f, 255.0f);
}

void ShowKillZone(std::uint32_t objectId)
{
    GetSystem<ParticleSystem>()->CreateKillZoneEmitter(static_cast<int>(objectId));
}

void ReadAnimationData() { LevelManager::Instance().LoadAnimationData(); }

}  // namespace

void InstallLevelRoutes()
{
    LevelLoadSteps::Install(ClearEmitters, StartLevelEffects, ShowKillZone);
    AnimationTable::InstallFileReader(ReadAnimationData);
}

}  // namespace Engine

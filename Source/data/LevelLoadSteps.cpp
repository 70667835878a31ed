#include "data/LevelLoadSteps.h"

namespace Engine {

namespace {

// Plain pointers, set before the first load: no start-up order between files can find them half made.
constinit LevelLoadSteps::Step worldClearedStep = nullptr;
constinit LevelLoadSteps::Step levelLoadedStep = nullptr;
constinit LevelLoadSteps::ObjectStep killZoneDueStep = nullptr;

}  // namespace

void LevelLoadSteps::Install(Step worldCleared, Step levelLoaded, ObjectStep killZoneDue)
{
    worldClearedStep = worldCleared;
    levelLoadedStep = levelLoaded;
    killZoneDueStep = killZoneDue;
}

void LevelLoadSteps::WorldCleared()
{
    if (worldClearedStep != nullptr)
        worldClearedStep();
}

void LevelLoadSteps::LevelLoaded()
{
    if (levelLoadedStep != nullptr)
        levelLoadedStep();
}

void LevelLoadSteps::KillZoneDue(std::uint32_t objectId)
{
    if (killZoneDueStep != nullptr)
        killZoneDueStep(objectId);
}

}  // namespace Engine

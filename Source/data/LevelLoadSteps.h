// Engine::LevelLoadSteps: what a level load does besides making the level's objects, in the
// systems of higher folders (the particles, the heat map's event). The game's start-up installs
// the steps (game/LevelRoutes.cpp); a program that installs none loads the objects alone.
#pragma once

#include <cstdint>

namespace Engine {

class LevelLoadSteps {
public:
    using Step = void (*)();
    using ObjectStep = void (*)(std::uint32_t objectId);

    // worldCleared: the old objects are gone and no new one is made yet. levelLoaded: every
    // entry of the file was read. killZoneDue: the delay of a loaded "KillZone" handler ran out.
    static void Install(Step worldCleared, Step levelLoaded, ObjectStep killZoneDue);

    static void WorldCleared();
    static void LevelLoaded();
    static void KillZoneDue(std::uint32_t objectId);
};

}  // namespace Engine

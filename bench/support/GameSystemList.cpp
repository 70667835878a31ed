// Linked into every benchmark: the registry gets the game's systems wherever a benchmark
// first reaches it, and level loads their effects, as Game::Init hands them over in the game.
#include "core/SystemManager.h"
#include "game/GameSystems.h"
#include "game/LevelRoutes.h"

namespace {

struct GameSystemList {
    GameSystemList()
    {
        Engine::SystemManager::UseSystemList(&Engine::AddGameSystems);
        Engine::InstallLevelRoutes();
    }
} const gameSystemList;

}  // namespace

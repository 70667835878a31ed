// Linked into every benchmark: the registry gets the game's systems wherever a benchmark
// first reaches it, as Game::Init hands them over in the game.
#include "core/SystemManager.h"
#include "game/GameSystems.h"

namespace {

struct GameSystemList {
    GameSystemList() { Engine::SystemManager::UseSystemList(&Engine::AddGameSystems); }
} const gameSystemList;

}  // namespace

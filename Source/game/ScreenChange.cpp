#include "game/ScreenChange.h"

#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "game/ScreenTable.h"

namespace Engine {

void ShowScreen(std::int32_t state)
{
    LevelManager::Instance().LoadLevel(ScreenLevel(state));
    GameStateIndex = state;
}

void StartLevel(const LevelInfo& level)
{
    LevelManager::Instance().LoadLevel(level.level);
    GetSystem<SoundSystem>()->PlayEvent(level.music);
    GameStateIndex = level.state;
}

}  // namespace Engine

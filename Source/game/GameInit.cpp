// Game::Init: the game's start-up, run by the Game constructor before the window and the
// renderer exist.
#include "core/Game.h"

#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "game/GameKeys.h"
#include "game/GameState.h"
#include "game/GameSystems.h"
#include "game/LevelRoutes.h"
#include "game/ScreenTable.h"
#include "graphics/Camera.h"
#include "platform/Cursor.h"
#include "scripting/ScriptManager.h"

namespace {
constexpr const char* IntroMusic = "Menu_Music_Intro";
}  // namespace

int Game::Init()
{
    InitializeLogging();
    Platform::SetCursorVisible(false);

    // Level loads reach the particles and the heat map through these, as the animation
    // update reaches its data file.
    Engine::InstallLevelRoutes();
    // The first use of the registry creates the fifteen systems and runs their Init.
    Engine::SystemManager::UseSystemList(&Engine::AddGameSystems);
    auto* scripts = Engine::GetSystem<Engine::ScriptManager>();
    scripts->RegisterEveryFrame("ApplyGravity");
    scripts->RegisterEveryFrame("ApplyFriction");

    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadArchetypes();
    levels.LoadLevel(Engine::ScreenLevel(GameState::Splash));

    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
    if (player != Engine::InvalidObjectId) {
        // Later levels bring their own handlers and checkpoints.
        Engine::GetSystem<Engine::EventManager>()->AddEvent(player, "Bottom Collision", "IsGrounded");
        Engine::ComponentStore::Instance().AddComponent<Engine::Checkpoint>(player);
    }

    Engine::GameKeys::BindMenuKeys(*this);

    // The intro is not a music by its name, so it is recorded by hand: the next music stops it.
    auto* sound = Engine::GetSystem<Engine::SoundSystem>();
    sound->PlayEvent(IntroMusic);
    sound->currentMusic = IntroMusic;

    Engine::GameKeys::BindDebugKeys(*this);
    return 0;
}

// Game::Update: the game's logic for one frame, called by the frame loop between the
// message pump and the drawing.
#include "core/Game.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelOrder.h"
#include "game/GameState.h"
#include "game/ScreenChange.h"
#include "game/ScreenObjects.h"
#include "game/Scoreboard.h"
#include "graphics/Camera.h"
#include "platform/UiLayer.h"

namespace {

constexpr const char* GodModeName = "GodMode";
constexpr float GodModeLift = 300.0f;  // the indicator floats above the player
constexpr std::int64_t DeathShakeMs = 1000;
constexpr float DeathShakeMagnitude = 10.0f;
constexpr float FollowViewWidth = 1920.0f;
constexpr float FollowViewHeight = 1080.0f;
constexpr std::uint32_t RestartScore = 300;

// The "GodMode" sign hangs over the player exactly while god mode is on.
void UpdateGodModeIndicator()
{
    const Engine::Controller* controller = Engine::ScreenObjects::FollowedComponent<Engine::Controller>();
    if (controller == nullptr)
        return;
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    std::uint32_t sign = table.FindGameObject(GodModeName);
    if (!controller->godMode) {
        if (sign != Engine::InvalidObjectId)
            table.RemoveGameObject(sign);
        return;
    }
    if (sign == Engine::InvalidObjectId) {
        sign = table.CreateGameObject(GodModeName);
        if (sign == Engine::InvalidObjectId)
            return;
        store.AddComponent<Engine::Sprite>(sign);
        store.GetComponent<Engine::Sprite>(sign)->Texture = "GodModeB.png";
        store.AddComponent<Engine::Transform>(sign);
    }
    Engine::Transform* transform = store.GetComponent<Engine::Transform>(sign);
    const Engine::Transform* player = Engine::ScreenObjects::FollowedComponent<Engine::Transform>();
    if (transform == nullptr || player == nullptr)
        return;
    transform->x_pos = player->x_pos;
    transform->y_pos = player->y_pos + GodModeLift;
    transform->z_pos = -1.0f;
    transform->x_sca = 200.0f;
    transform->y_sca = 60.0f;
}

void CarryOutConfirmedAction(Game& game)
{
    auto* sound = Engine::GetSystem<Engine::SoundSystem>();
    // Whatever the action, the level's overview does not outlive the level it shows.
    game.levelCompleteShown = 0;
    switch (ConfirmAction) {
    case Confirm::Quit:
        // As a quit event would: the loop ends once this frame is done.
        Window::LogQuit();
        game.running = 0;
        break;
    case Confirm::RestartLevel:
        if (const Engine::LevelInfo* level = Engine::LevelOfState(GameStateIndex)) {
            Engine::StartLevel(*level);  // the state it has already
            Engine::GetSystem<Engine::Scoreboard>()->RestartLevel();
        } else {
            Engine::GetSystem<Engine::Scoreboard>()->score = RestartScore;
        }
        break;
    case Confirm::MainMenu:
        Engine::ShowScreen(GameState::MainMenu);
        sound->PlayEvent("Menu_Music");
        break;
    case Confirm::Credits:
        sound->PlayEvent("Menu_Music");
        Engine::ShowScreen(GameState::Credits);
        break;
    default:
        break;
    }
}

void PlaceCamera(const Game& game)
{
    Engine::Camera& camera = *Engine::Camera::Instance();
    // An open menu or dialog stands where the camera looked when it opened: the camera waits.
    if (!camera.followEnabled || game.paused || game.optionsOpen || game.confirmDialogOpen)
        return;
    if (!game.levelCompleteShown) {
        if (const Engine::Transform* player = Engine::ScreenObjects::FollowedComponent<Engine::Transform>()) {
            camera.eye[0] = camera.position[0] = player->x_pos;
            camera.eye[1] = camera.position[1] = player->y_pos;
            camera.viewWidth = FollowViewWidth;
            camera.viewHeight = FollowViewHeight;
        }
        return;
    }
    if (const Engine::LevelInfo* level = Engine::LevelOfState(GameStateIndex)) {
        camera.eye[0] = camera.position[0] = level->overviewX;
        camera.eye[1] = camera.position[1] = level->overviewY;
        camera.viewWidth = level->overviewWidth;
        camera.viewHeight = level->overviewHeight;
    }
}

// The UI back-end would show the cursor again at every new frame; it may only while the editor is open.
void ShowCursor(bool visible) { Platform::UiLayer::SetCursorVisible(visible); }

}  // namespace

void Game::Update()
{
    // Only ever back into full screen, when the window in front has lost it; F11 and the
    // options leave it.
    if (window.HasInputFocus() && graphics.IsFullScreen() != (fullscreen != 0))
        graphics.SetFullScreen(true);

    UpdateScreens();

    Engine::Camera* camera = Engine::Camera::Instance();
    camera->followedObjectId = static_cast<std::int32_t>(Engine::GameObjectTable::Instance().FindGameObject("Player"));
    camera->game = this;

    UpdateGodModeIndicator();

    // The close button asks first.
    if (window.closeRequested) {
        confirmDialogOpen = 1;
        ConfirmAction = Confirm::Quit;
        window.closeRequested = 0;
    }

    auto* sound = Engine::GetSystem<Engine::SoundSystem>();
    const bool frozen = paused || confirmDialogOpen || editorActive;
    for (const Engine::LevelInfo& level : Engine::LevelOrder())
        sound->SetEventParameter(level.music, "Paused", frozen ? 100.0f : 0.0f);
    if (!frozen)
        Engine::SystemManager::Instance().Update();
    // Sound keeps playing and fading while the world stands still.
    sound->Update();

    if (confirmDialogOpen && UpdateConfirmDialog()) {
        previousState = GameStateIndex;
        confirmDialogOpen = 0;
        paused = 0;
        CarryOutConfirmedAction(*this);
    }

    ShowCursor(editorActive != 0);
    Engine::InputManager::Instance().SetEditorOpen(editorActive != 0);
    editorFrame(editorActive != 0);
    if (editorActive)
        return;
    // Only a frame in which the world ran starts a shake: the timers stand still while it
    // is frozen, and shakes started meanwhile would all fire at once on resuming.
    if (const auto* controller = Engine::ScreenObjects::FollowedComponent<Engine::Controller>();
        !frozen && controller != nullptr && controller->isDead)
        camera->Shake(DeathShakeMs, DeathShakeMagnitude);
    PlaceCamera(*this);
}

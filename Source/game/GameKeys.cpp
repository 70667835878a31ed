#include "game/GameKeys.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/Game.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/Log.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "data/LevelOrder.h"
#include "game/GameState.h"
#include "game/ScreenObjects.h"
#include "game/ScreenTable.h"
#include "graphics/Camera.h"
#include "platform/VirtualKeys.h"

#include <algorithm>
#include <cstdint>

namespace Engine::GameKeys {

namespace {

namespace Key = Platform::VirtualKey;

constexpr float NoCheckpoint = 50000.0f;  // checkpoints lie nearer than this
constexpr float WarpLift = 50.0f;         // the player lands a little above the checkpoint

bool InLevel() { return GameState::IsLevel(GameStateIndex); }

// One step through the entries 0..count-1 with wrap-around.
std::int32_t Step(std::int32_t value, std::size_t count, bool up)
{
    const auto last = static_cast<std::int32_t>(count) - 1;
    if (up)
        return value > 0 ? value - 1 : last;
    return value >= last ? 0 : value + 1;
}

// Up and Down move the highlight of whatever menu is in front; elsewhere they do nothing.
void MoveHighlight(Game& game, bool up)
{
    std::int32_t* selection = nullptr;
    std::size_t entries = 0;
    if (game.confirmDialogOpen || game.howToPlayOpen) {
        GetSystem<SoundSystem>()->PlayEvent("Button_Rollover");
        // Two answers: Up always lands on yes (0), Down on no (1), from anything else.
        if (up)
            game.confirmSelection = game.confirmSelection == 1 ? 0 : 1;
        else
            game.confirmSelection = game.confirmSelection == 0 ? 1 : 0;
        return;
    }
    if (game.optionsOpen) {
        selection = &game.optionsSelection;
        entries = OptionsEntry::Count;
    } else if (GameStateIndex == GameState::MainMenu) {
        selection = &game.mainMenuSelection;
        entries = ScreenOfState(GameState::MainMenu)->buttons.size();
    } else if (InLevel() && game.paused) {
        selection = &game.pauseMenuSelection;
        entries = PauseMenuButtons().size();
    } else {
        return;
    }
    GetSystem<SoundSystem>()->PlayEvent("Button_Rollover");
    *selection = Step(*selection, entries, up);
}

void SkipToLastLevel()
{
    const std::span<const LevelInfo> levels = LevelOrder();
    const LevelInfo& last = levels.back();
    LevelManager::Instance().LoadLevel(last.level);
    // The level skip plays the music of the level before the last one.
    GetSystem<SoundSystem>()->PlayEvent(levels[levels.size() - 2].music);
    GameStateIndex = last.state;
}

}  // namespace

void BindMenuKeys(Game& game)
{
    InputManager& input = InputManager::Instance();
    Game* g = &game;
    {
        // Back-quote opens and closes the editor, so it is one of the keys the editor keeps.
        const InputManager::EditorBindings editorKey;
        input.RegisterKeyPressedFunction(Key::BackQuote, [g] {
            if (!g->debugEnabled)
                return;
            g->editorActive = g->editorActive ? 0 : 1;
            InputManager::Instance().SetEditorOpen(g->editorActive != 0);
        });
    }
    input.RegisterKeyPressedFunction(Key::Function(1), [g] { g->advanceRequested = 1; });
    input.RegisterKeyPressedFunction(Key::Up, [g] { MoveHighlight(*g, true); });
    input.RegisterKeyPressedFunction(Key::Down, [g] { MoveHighlight(*g, false); });
    input.RegisterKeyPressedFunction(Key::Escape, [g] {
        if (!InLevel())
            return;
        g->paused = 1;
        LogDebug("Pausing/Unpausing game");
    });
    input.RegisterKeyPressedFunction(Key::Return, [g] { g->enterHeld = 1; });
    input.RegisterKeyUpFunction(Key::Return, [g] { g->enterHeld = 0; });
}

void BindDebugKeys(Game& game)
{
    InputManager& input = InputManager::Instance();
    Game* g = &game;
    input.RegisterKeyPressedFunction(Key::Function(2), [] {
        if (auto* controller = ScreenObjects::FollowedComponent<Controller>())
            controller->godMode = !controller->godMode;
    });
    input.RegisterKeyPressedFunction(Key::Function(3), [g] { SetMusicEnabled(*g, false); });
    input.RegisterKeyPressedFunction(Key::Function(4), [g] { SetMusicEnabled(*g, true); });
    input.RegisterKeyPressedFunction(Key::Function(11), [g] { ToggleFullScreen(*g); });
    input.RegisterKeyPressedFunction(Key::Function(6), [g] {
        g->levelCompleteShown = 0;  // the overview goes with the level left
        SkipToLastLevel();
    });
    input.RegisterKeyPressedFunction(Key::Function(7), [] { WarpToNextCheckpoint(); });
}

void ToggleFullScreen(Game& game)
{
    game.graphics.SetFullScreen(!game.graphics.IsFullScreen());
    game.fullscreen = game.fullscreen ? 0 : 1;
}

void SetMusicEnabled(Game& game, bool enabled)
{
    SoundSystem* sound = GetSystem<SoundSystem>();
    if (enabled) {
        sound->musicMuted = false;
        sound->PlayEvent(sound->currentMusic);
    } else {
        sound->StopEvent(sound->currentMusic);
        sound->musicMuted = true;
    }
    game.musicEnabled = enabled ? 1 : 0;
}

void WarpToNextCheckpoint()
{
    Transform* player = ScreenObjects::FollowedComponent<Transform>();
    if (player == nullptr)
        return;
    const GameObjectTable& table = GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    float bestX = NoCheckpoint;
    float bestY = 0.0f;
    for (std::uint32_t id = 0; id <= table.highestUsed && id < MaxGameObjects; ++id) {
        if (table.Get(id) == nullptr)
            continue;
        const EventSet* events = store.GetComponent<EventSet>(id);
        const Transform* transform = store.GetComponent<Transform>(id);
        if (events == nullptr || transform == nullptr)
            continue;
        const bool isCheckpoint = std::any_of(events->events.begin(), events->events.end(), [](const auto& event) {
            return std::find(event.second.begin(), event.second.end(), "CheckPoint") != event.second.end();
        });
        if (isCheckpoint && transform->x_pos > player->x_pos && transform->x_pos < bestX) {
            bestX = transform->x_pos;
            bestY = transform->y_pos;
        }
    }
    if (bestX < NoCheckpoint) {
        player->x_pos = bestX;
        player->y_pos = bestY + WarpLift;
    }
}

}  // namespace Engine::GameKeys

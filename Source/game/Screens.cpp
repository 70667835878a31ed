// Game::UpdateScreens: the screen flow, run every frame by the game update: the splash, the
// main menu, the credits roll, the levels and their level-complete screen, the score entry
// and the leaderboard. Every screen is a level loaded by name.
#include "core/Game.h"

#include "core/FrameTime.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/ComponentStore.h"
#include "data/LevelOrder.h"
#include "game/GameState.h"
#include "game/ScreenChange.h"
#include "game/ScreenObjects.h"
#include "game/ScreenTable.h"
#include "gameplay/ParticleSystem.h"

#include <array>

namespace {

namespace Screen = Engine::ScreenObjects;

constexpr const char* FirstSplash = "SplashScreen.png";
constexpr const char* SecondSplash = "QuillmereSplashScreen.png";
constexpr float SecondSplashSeconds = 1.93f;
constexpr float CreditsScrollPerFrame = 4.0f;
constexpr float CreditsEnd = -8000.0f;
constexpr float ScreenSeconds = 2.5f;

namespace Entry = Engine::MainMenuEntry;
using Engine::ShowScreen;
using Engine::StartLevel;

Engine::SoundSystem& Sound() { return *Engine::GetSystem<Engine::SoundSystem>(); }

void Splash(Game& game)
{
    if (!game.confirmDialogOpen)
        game.splashTimer -= FrameDeltaTime;
    if (game.splashTimer <= 0.0f && Screen::Shows("Splash", FirstSplash)) {
        Screen::Show("Splash", SecondSplash);
        game.splashTimer = SecondSplashSeconds;
    }
    if (Screen::Shows("Splash", SecondSplash) && (game.splashTimer <= 0.0f || game.enterHeld) && !game.confirmDialogOpen) {
        ShowScreen(GameState::MainMenu);
        game.previousState = GameState::Splash;
        game.enterHeld = 0;
    }
}

// The main menu's how-to-play page, made when it opens and removed when it closes. Made
// after the menu's own objects, it is drawn after them and the frame before its texts, so
// that their soft edges blend with the frame. In the level it could not be: a saved level
// makes its objects in the order of their names, "EnterToContinue" before the frame.
const std::array<Screen::Part, 3> HowToPlayParts = {{
    {"HowToPlayBG", -13.0f, 37.5f, -4.0f, 948.0f, 502.5f, "MenuFrame.png"},
    {"HowToPlayScreen", 0.0f, 6.0f, -5.0f, 714.0f, 466.0f, "HowToPlayScreen.png"},
    {"EnterToContinue", 0.0f, -400.0f, -5.0f, 300.0f, 31.0f, "PressEnter.png"},
}};

constexpr std::array<const char*, 3> HowToPlayNames = {"HowToPlayBG", "HowToPlayScreen", "EnterToContinue"};

void MainMenu(Game& game)
{
    if (game.howToPlayOpen && game.enterHeld) {
        Sound().PlayEvent("Button_GoBack");
        game.howToPlayOpen = 0;
        game.enterHeld = 0;
        Screen::Remove(HowToPlayNames);
    }
    if (game.optionsOpen)
        game.UpdateOptionsMenu();
    Screen::Highlight(Engine::ScreenOfState(GameState::MainMenu)->buttons, game.mainMenuSelection);

    if (game.enterHeld && !game.confirmDialogOpen) {
        Sound().PlayEvent("Button_GoForward");
        game.previousState = GameState::MainMenu;
        game.enterHeld = 0;
        switch (game.mainMenuSelection) {
        case Entry::Start:
            Sound().StopEvent("Menu_Music_Intro");
            Sound().StopEvent("Menu_Music");
            StartLevel(Engine::LevelOrder().front());
            break;
        case Entry::Leaderboard:
            ShowScreen(GameState::Leaderboard);
            break;
        case Entry::HowToPlay:
            Screen::Create(HowToPlayParts, 0.0f, 0.0f);
            game.howToPlayOpen = 1;
            break;
        case Entry::Options:
            game.optionsOpen = 1;
            break;
        case Entry::Credits:
            ShowScreen(GameState::Credits);
            break;
        case Entry::Exit:
            game.confirmDialogOpen = 1;
            ConfirmAction = Confirm::Quit;
            break;
        default:
            break;
        }
    }
    // F1 starts the first level from the menu.
    if (game.advanceRequested && !game.confirmDialogOpen) {
        game.previousState = GameState::MainMenu;
        StartLevel(Engine::LevelOrder().front());
        game.advanceRequested = 0;
    }
}

void CreditsRoll(Game& game)
{
    // A confirm dialog holds the scroll only: the hold at the end and its countdown go on.
    Engine::Transform* roll = Screen::FollowedComponent<Engine::Transform>();
    if (roll != nullptr) {
        if (!game.confirmDialogOpen)
            roll->y_pos -= CreditsScrollPerFrame;
        if (roll->y_pos <= CreditsEnd) {
            roll->y_pos = CreditsEnd;
            game.screenTimer -= FrameDeltaTime;
            if (game.screenTimer < 0.0f)
                game.advanceRequested = 1;
        }
    }
    if ((game.enterHeld || game.advanceRequested) && !game.confirmDialogOpen) {
        Sound().PlayEvent("Button_GoBack");
        game.screenTimer = ScreenSeconds;
        game.advanceRequested = 0;
        if (game.previousState == GameState::MainMenu || game.previousState == GameState::Leaderboard)
            ShowScreen(GameState::MainMenu);
        else if (const Engine::LevelInfo* level = Engine::LevelOfState(game.previousState))
            StartLevel(*level);
        game.previousState = GameState::Credits;
        game.enterHeld = 0;
    }
}

// The score screen's "Player" only anchors the camera: the trail that the level load gave
// it would spray beside the score. The particles of the level left behind fly on and die.
void StopEffects()
{
    Engine::ParticleSystem& particles = *Engine::GetSystem<Engine::ParticleSystem>();
    for (unsigned slot = 0; slot < particles.emitters.size(); ++slot)
        particles.RemoveEmitter(slot);
}

// Closes the pause menu with its how-to-play screen and options dialog; the level load
// that follows removes their objects.
void EndPause(Game& game)
{
    game.paused = 0;
    game.pauseMenuSelection = 0;
    game.howToPlayOpen = 0;
    game.optionsOpen = 0;
    game.optionsSelection = 0;
}

void Level(Game& game)
{
    game.lastLevelIndex = GameStateIndex;
    if (game.optionsOpen)
        game.UpdateOptionsMenu();
    if (game.paused)
        game.UpdatePauseMenu();
    if (game.advanceRequested && !game.confirmDialogOpen) {
        // The level is left for good: a pause menu (and what it opened) open over it would
        // keep the world, and so the score entry and the next level, frozen.
        EndPause(game);
        game.levelCompleteShown = 0;  // the overview ends with the level, F1 or Enter alike
        game.previousState = GameStateIndex;
        ShowScreen(GameState::ScoreEntry);
        StopEffects();
        game.advanceRequested = 0;
    }
}

void ScoreEntry(Game& game)
{
    if (const Engine::LevelInfo* finished = Engine::LevelOfState(game.previousState))
        Screen::Show("LevelComplete", finished->completeImage);
    if ((game.advanceRequested || game.enterHeld) && !game.confirmDialogOpen) {
        Sound().PlayEvent("Button_GoForward");
        game.previousState = GameState::ScoreEntry;
        ShowScreen(GameState::Leaderboard);
        game.advanceRequested = 0;
        game.enterHeld = 0;
    }
}

// After a level the leaderboard leads on to the next one, or to the credits after the last.
void ContinueAfterLeaderboard(Game& game)
{
    Sound().PlayEvent("Menu_Music");
    game.previousState = GameState::Leaderboard;
    const std::span<const Engine::LevelInfo> levels = Engine::LevelOrder();
    for (std::size_t index = 0; index < levels.size(); ++index) {
        if (levels[index].state != game.lastLevelIndex)
            continue;
        Sound().StopEvent(levels[index].winStinger);
        if (index + 1 < levels.size()) {
            StartLevel(levels[index + 1]);
        } else {
            Sound().PlayEvent("Menu_Music");
            ShowScreen(GameState::Credits);
        }
        return;
    }
}

void LeaderboardScreen(Game& game)
{
    if (!(game.advanceRequested || game.enterHeld) || game.confirmDialogOpen)
        return;
    Sound().PlayEvent("Button_GoForward");
    if (game.previousState == GameState::MainMenu) {
        ShowScreen(GameState::MainMenu);
        game.previousState = GameState::Leaderboard;
    } else {
        ContinueAfterLeaderboard(game);
    }
    game.advanceRequested = 0;
    game.enterHeld = 0;
}

}  // namespace

void Game::UpdateScreens()
{
    // A level has ended: its music stops and the camera shows the whole level.
    if (levelChangeRequested) {
        Sound().StopEvent(Sound().currentMusic);
        levelCompleteShown = 1;
        levelChangeRequested = 0;
    }
    // An Enter meant for the pause menu, the options or a confirmation is theirs alone.
    if (levelCompleteShown && enterHeld && !paused && !optionsOpen && !confirmDialogOpen) {
        Sound().PlayEvent("Button_GoForward");
        enterHeld = 0;
        advanceRequested = 1;
        levelCompleteShown = 0;
    }

    if (GameState::IsLevel(GameStateIndex)) {
        Level(*this);
        return;
    }
    switch (GameStateIndex) {
    case GameState::Splash: Splash(*this); break;
    case GameState::MainMenu: MainMenu(*this); break;
    case GameState::Credits: CreditsRoll(*this); break;
    case GameState::ScoreEntry: ScoreEntry(*this); break;
    case GameState::Leaderboard: LeaderboardScreen(*this); break;
    default: break;
    }
}

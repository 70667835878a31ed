// Game::UpdatePauseMenu: the menu that Escape opens over a level, with its own how-to-play
// screen. The screen flow runs it while paused is set in a level.
#include "core/Game.h"

#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "game/GameState.h"
#include "game/ScreenObjects.h"
#include "game/ScreenTable.h"

#include <array>

namespace {

namespace Screen = Engine::ScreenObjects;

constexpr float FrameLift = 30.0f;  // the frame stands a little above the player
constexpr float ButtonZ = -3.0f;
constexpr float ButtonWidth = 170.0f;
constexpr float ButtonHeight = 48.0f;

namespace Entry = Engine::PauseEntry;

// Placed from the frame (the frame itself from the player, FrameLift higher).
std::array<Screen::Part, 9> PauseParts()
{
    std::array<Screen::Part, 9> parts = {{
        {"Pause", 0.0f, 0.0f, -2.0f, 325.0f, 500.0f, "MenuFrame.png"},
        {"PauseText", 0.0f, 430.0f, -3.0f, 160.0f, 45.0f, "Paused.png"},
    }};
    const std::span<const Screen::Button> buttons = Engine::PauseMenuButtons();
    float dy = 300.0f;
    for (std::size_t index = 0; index < buttons.size(); ++index, dy -= 120.0f)
        parts[index + 2] = {buttons[index].name, 0.0f, dy, ButtonZ, ButtonWidth, ButtonHeight, buttons[index].image};
    return parts;
}

// The pause objects in the order they were created, which is the order they are removed in.
std::array<const char*, 9> PauseNames()
{
    const std::array<Screen::Part, 9> parts = PauseParts();
    std::array<const char*, 9> names{};
    for (std::size_t index = 0; index < parts.size(); ++index)
        names[index] = parts[index].name;
    return names;
}

// Placed from the player.
const std::array<Screen::Part, 3> HowToPlayParts = {{
    {"HowToPlayBG", -13.0f, 29.0f, -4.0f, 948.0f, 511.0f, "MenuFrame.png"},
    {"HowToPlayScreen", 0.0f, 6.0f, -5.0f, 714.0f, 466.0f, "HowToPlayScreen.png"},
    {"EnterToContinue", 0.0f, -421.0f, -5.0f, 300.0f, 31.0f, "PressEnter.png"},
}};

constexpr std::array<const char*, 3> HowToPlayNames = {"HowToPlayBG", "HowToPlayScreen", "EnterToContinue"};

}  // namespace

void Game::UpdatePauseMenu()
{
    if (!Screen::Exists("Pause")) {
        float x = 0.0f;
        float y = 0.0f;
        Screen::ViewCentre(x, y);
        Screen::Create(PauseParts(), x, y + FrameLift);
    }
    Screen::Highlight(Engine::PauseMenuButtons(), pauseMenuSelection);

    if (enterHeld && !howToPlayOpen && !confirmDialogOpen) {
        Engine::GetSystem<Engine::SoundSystem>()->PlayEvent("Button_GoForward");
        enterHeld = 0;
        // Each question remembers the level, so that the credits can lead back to it.
        auto ask = [this](std::int32_t action) {
            previousState = lastLevelIndex;
            ConfirmAction = action;
            pauseMenuSelection = 0;
            confirmDialogOpen = 1;
        };
        switch (pauseMenuSelection) {
        case Entry::Resume:
            paused = 0;
            Screen::Remove(PauseNames());
            break;
        case Entry::Restart: ask(Confirm::RestartLevel); break;
        case Entry::HowToPlay: {
            float x = 0.0f;
            float y = 0.0f;
            Screen::ViewCentre(x, y);
            Screen::Create(HowToPlayParts, x, y);
            howToPlayOpen = 1;
            break;
        }
        case Entry::Options: optionsOpen = 1; break;
        case Entry::Credits: ask(Confirm::Credits); break;
        case Entry::ReturnToMenu: ask(Confirm::MainMenu); break;
        case Entry::Quit:
            ConfirmAction = Confirm::Quit;
            confirmDialogOpen = 1;
            break;
        default: break;
        }
    }
    if (enterHeld && howToPlayOpen) {
        enterHeld = 0;
        howToPlayOpen = 0;
        Screen::Remove(HowToPlayNames);
    }
}

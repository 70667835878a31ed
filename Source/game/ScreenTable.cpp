#include "game/ScreenTable.h"

#include "game/GameState.h"

#include <array>
#include <cassert>

namespace Engine {

namespace {

constexpr std::array<ScreenObjects::Button, 6> MainMenuButtons = {{
    {"StartButton", "Start.png", "StartHighlight.png"},
    {"LeaderboardButton", "Leaderboard.png", "LeaderboardHighlight.png"},
    {"HowToPlayButton", "HowToPlayFinal.png", "HowToPlayFinalHighlight.png"},
    {"OptionsButton", "Options.png", "OptionsHighlight.png"},
    {"CreditsButton", "Credits.png", "CreditsHighlight.png"},
    {"ExitButton", "Exit.png", "ExitHighlight.png"},
}};
static_assert(MainMenuButtons.size() == MainMenuEntry::Exit + 1);

constexpr std::array<ScreenObjects::Button, 7> PauseButtons = {{
    {"ResumeButton", "ResumeGameFinal.png", "ResumeGameFinalHighlight.png"},
    {"RestartButton", "RestartLevelFinal.png", "RestartLevelFinalHighlight.png"},
    {"HowToPlayButton", "HowToPlayFinal.png", "HowToPlayFinalHighlight.png"},
    {"OptionsButton", "Options.png", "OptionsHighlight.png"},
    {"CreditsButton", "Credits.png", "CreditsHighlight.png"},
    {"ReturnButton", "ReturnToMainMenuFinal.png", "ReturnToMainMenuFinalHighlight.png"},
    {"QuitButton", "Exit.png", "ExitHighlight.png"},
}};
static_assert(PauseButtons.size() == PauseEntry::Quit + 1);

const std::array<ScreenInfo, 5> ScreenList = {{
    {GameState::Splash, "Splash Screen", {}},
    {GameState::MainMenu, "Main Menu", MainMenuButtons},
    {GameState::Credits, "Credits", {}},
    {GameState::ScoreEntry, "Scores", {}},
    {GameState::Leaderboard, "Scoreboard", {}},
}};

}  // namespace

const ScreenInfo* ScreenOfState(std::int32_t state)
{
    for (const ScreenInfo& screen : ScreenList) {
        if (screen.state == state)
            return &screen;
    }
    return nullptr;
}

const char* ScreenLevel(std::int32_t state)
{
    const ScreenInfo* screen = ScreenOfState(state);
    assert(screen != nullptr && "a screen state, not a level");
    return screen->level;
}

std::span<const ScreenObjects::Button> PauseMenuButtons() { return PauseButtons; }

}  // namespace Engine

// The pause menu, the confirm dialog and the options dialog driven through the real game,
// and the window's close button, which asks before the game quits.
#include "GameFlowFixture.h"

#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "game/GameState.h"
#include "game/Scoreboard.h"
#include "game/ScreenObjects.h"
#include "platform/StudioEventInstance.h"

#include <SDL.h>

#include <array>
#include <ostream>

namespace GameFlowTest {

namespace {

constexpr std::array<const char*, 9> PauseObjects = {"Pause",         "PauseText",       "ResumeButton",
                                                     "RestartButton", "HowToPlayButton", "OptionsButton",
                                                     "CreditsButton", "ReturnButton",    "QuitButton"};
constexpr std::array<const char*, 5> ConfirmObjects = {"Confirm", "ConfirmText", "YesButton", "NoButton", "GrayOut"};

bool AllExist(std::span<const char* const> names)
{
    return std::all_of(names.begin(), names.end(), [](const char* name) { return Engine::ScreenObjects::Exists(name); });
}

bool NoneExist(std::span<const char* const> names)
{
    return std::none_of(names.begin(), names.end(), [](const char* name) { return Engine::ScreenObjects::Exists(name); });
}

int QueuedQuits() { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT); }

float PausedParameter(const char* music)
{
    float value = -1.0f;
    const Platform::StudioEventInstance* instance = Engine::GetSystem<Engine::SoundSystem>()->FindInstance(music);
    if (instance == nullptr || instance->GetParameterByName("Paused", &value) != 0)
        ADD_FAILURE() << music << " has no Paused parameter";
    return value;
}

struct PauseCase {
    const char* name;
    int downs;           // Down presses from Resume
    int confirmAction;   // -1: the entry asks nothing
    bool answerYes;
    std::int32_t state;  // afterwards
    const char* level;
    bool stillPaused;
    std::int32_t selection;
};

void PrintTo(const PauseCase& entry, std::ostream* out) { *out << entry.name; }

class PauseMenu : public GameFlow, public testing::WithParamInterface<PauseCase> {};

}  // namespace

TEST_P(PauseMenu, EntryDoesWhatItSays)
{
    const PauseCase& entry = GetParam();
    ToFirstLevel();
    Engine::GetSystem<Engine::Scoreboard>()->score = 12;
    Tap(Escape);
    ASSERT_EQ(game->paused, 1);
    EXPECT_TRUE(AllExist(PauseObjects));
    EXPECT_EQ(Image("ResumeButton"), "ResumeGameFinalHighlight.png");
    for (int press = 0; press < entry.downs; ++press)
        Tap(Down);
    EXPECT_EQ(game->pauseMenuSelection, entry.downs);
    const int musicStarts = Starts("Level1_LevelMusic");
    Tap(Enter);

    if (entry.confirmAction >= 0) {
        ASSERT_EQ(game->confirmDialogOpen, 1);
        EXPECT_EQ(ConfirmAction, entry.confirmAction);
        EXPECT_TRUE(AllExist(ConfirmObjects));
        EXPECT_EQ(Image("YesButton"), "YesHighlight.png");  // yes comes first
        EXPECT_EQ(Image("NoButton"), "No.png");
        if (!entry.answerYes) {
            Tap(Down);
            EXPECT_EQ(Image("YesButton"), "Yes.png");
            EXPECT_EQ(Image("NoButton"), "NoHighlight.png");
        }
        Tap(Enter);
        EXPECT_EQ(game->confirmDialogOpen, 0);
        if (!entry.answerYes) {
            EXPECT_TRUE(NoneExist(ConfirmObjects));
        }
    }
    Frame();
    EXPECT_EQ(GameStateIndex, entry.state);
    EXPECT_EQ(CurrentLevel(), entry.level);
    EXPECT_EQ(game->paused, entry.stillPaused);
    // A quit leaves everything as it stands: the frame loop ends after the frame.
    const bool quitting = entry.confirmAction == 0 && entry.answerYes;
    EXPECT_EQ(AllExist(PauseObjects), entry.stillPaused || quitting);
    EXPECT_EQ(game->pauseMenuSelection, entry.selection);
    EXPECT_EQ(game->running, quitting ? 0 : 1);

    const bool restarted = entry.confirmAction == 1 && entry.answerYes;
    EXPECT_EQ(Engine::GetSystem<Engine::Scoreboard>()->score, restarted ? 300u : 12u);
    EXPECT_EQ(Starts("Level1_LevelMusic"), musicStarts + (restarted ? 1 : 0));
    if (entry.confirmAction == 2 || entry.confirmAction == 3) {
        EXPECT_EQ(CurrentMusic(), entry.answerYes ? "Menu_Music" : "Level1_LevelMusic");
    }
}

INSTANTIATE_TEST_SUITE_P(
    GameFlow, PauseMenu,
    testing::Values(PauseCase{"Resume", 0, -1, false, 3, "Level 1", false, 0},
                    PauseCase{"RestartYes", 1, 1, true, 3, "Level 1", false, 0},
                    PauseCase{"RestartNo", 1, 1, false, 3, "Level 1", true, 0},
                    PauseCase{"CreditsYes", 4, 3, true, 2, "Credits", false, 0},
                    PauseCase{"CreditsNo", 4, 3, false, 3, "Level 1", true, 0},
                    PauseCase{"ReturnToMenuYes", 5, 2, true, 1, "Main Menu", false, 0},
                    PauseCase{"QuitYes", 6, 0, true, 3, "Level 1", false, 6},
                    PauseCase{"QuitNo", 6, 0, false, 3, "Level 1", true, 6}),
    [](const testing::TestParamInfo<PauseCase>& param) { return std::string(param.param.name); });

TEST_F(GameFlow, CreditsFromThePauseMenuLeadBackToTheLevelFromItsStart)
{
    ToFirstLevel();
    Tap(Escape);
    for (int press = 0; press < 4; ++press)
        Tap(Down);
    Tap(Enter);
    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 2);
    EXPECT_EQ(game->previousState, 3);
    Frame();
    Tap(Enter);
    EXPECT_EQ(GameStateIndex, 3);
    EXPECT_EQ(CurrentLevel(), "Level 1");
    EXPECT_EQ(CurrentMusic(), "Level1_LevelMusic");
}

TEST_F(GameFlow, PauseHowToPlayClosesOnEnterWithoutRunningTheEntry)
{
    ToFirstLevel();
    Tap(Escape);
    Tap(Down);
    Tap(Down);
    Tap(Enter);
    ASSERT_EQ(game->howToPlayOpen, 1);
    for (const char* part : {"HowToPlayBG", "HowToPlayScreen", "EnterToContinue"})
        EXPECT_EQ(Count(part), 1u) << part;
    // While it is open, Up and Down move the confirm answer, with the rollover sound.
    const int rollovers = Starts("Button_Rollover");
    Tap(Down);
    EXPECT_EQ(game->confirmSelection, 1);
    EXPECT_EQ(game->pauseMenuSelection, 2);
    EXPECT_EQ(Starts("Button_Rollover"), rollovers + 1);

    Tap(Enter);
    EXPECT_EQ(game->howToPlayOpen, 0);
    EXPECT_FALSE(Exists("HowToPlayScreen"));
    EXPECT_EQ(game->paused, 1);
    EXPECT_TRUE(AllExist(PauseObjects));
    Frame();
    EXPECT_EQ(game->howToPlayOpen, 0);  // the closing press did not open it again
}

TEST_F(GameFlow, DialogTextsAreVisibleAndTheGrayOutIsTranslucentBlack)
{
    ToFirstLevel();
    Tap(Escape);
    Tap(Down);
    Tap(Down);
    Tap(Enter);  // the pause menu's how-to-play
    for (const char* text : {"HowToPlayScreen", "EnterToContinue"})
        EXPECT_EQ(Engine::ScreenObjects::SpriteOf(text)->Color[3], 1.0f) << text;
    Tap(Enter);
    Tap(Down);
    Tap(Enter);  // Options
    Frame();
    game->window.closeRequested = 1;
    Frame();
    for (const char* text : {"PauseText", "ConfirmText", "OptionsText", "FSText", "MText"}) {
        ASSERT_TRUE(Exists(text)) << text;
        EXPECT_EQ(Engine::ScreenObjects::SpriteOf(text)->Color[3], 1.0f) << text;
    }
    const Engine::Sprite* grayOut = Engine::ScreenObjects::SpriteOf("GrayOut");
    ASSERT_NE(grayOut, nullptr);
    EXPECT_EQ(std::vector<float>(grayOut->Color, grayOut->Color + 4), (std::vector<float>{0.0f, 0.0f, 0.0f, 0.65f}));
}

TEST_F(GameFlow, DialogsOpenAroundThePlayer)
{
    ToFirstLevel();
    const Engine::Transform* player = Engine::ScreenObjects::TransformOf("Player");
    ASSERT_NE(player, nullptr);
    const float x = player->x_pos;
    const float y = player->y_pos;
    Tap(Escape);  // frozen from here: the player stands still
    const Engine::Transform* frame = Engine::ScreenObjects::TransformOf("Pause");
    EXPECT_EQ(frame->x_pos, x);
    EXPECT_EQ(frame->y_pos, y + 30.0f);
    EXPECT_EQ(Engine::ScreenObjects::TransformOf("QuitButton")->y_pos, y + 30.0f - 420.0f);
    Tap(Down);
    Tap(Enter);
    const Engine::Transform* no = Engine::ScreenObjects::TransformOf("NoButton");
    EXPECT_EQ(no->x_pos, x);
    EXPECT_EQ(no->y_pos, y - 115.0f);
    EXPECT_EQ(no->x_sca, 194.6f);
}

TEST_F(GameFlow, OptionsToggleFullScreenAndMusicAndRemember)
{
    ToMainMenu();
    for (int press = 0; press < 3; ++press)
        Tap(Down);
    Tap(Enter);
    Frame();
    ASSERT_TRUE(Exists("OptionsBG"));
    EXPECT_EQ(Image("FSBox"), "CheckboxWithCheck.png");
    EXPECT_EQ(Image("MusicBox"), "CheckboxWithCheck.png");
    EXPECT_EQ(Image("FSText"), "FullscreenW.png");
    ASSERT_TRUE(game->graphics.IsFullScreen());

    Tap(Enter);  // full screen off
    EXPECT_FALSE(game->graphics.IsFullScreen());
    EXPECT_EQ(game->fullscreen, 0);
    EXPECT_EQ(Image("FSBox"), "Checkbox.png");
    EXPECT_EQ(game->optionsSelection, 0);

    Tap(Down);
    EXPECT_EQ(Image("FSText"), "FullscreenB.png");
    EXPECT_EQ(Image("MText"), "MusicW.png");
    ASSERT_TRUE(Playing("Menu_Music_Intro"));
    Tap(Enter);  // music off
    EXPECT_EQ(game->musicEnabled, 0);
    EXPECT_TRUE(Engine::GetSystem<Engine::SoundSystem>()->musicMuted);
    EXPECT_FALSE(Playing("Menu_Music_Intro"));
    EXPECT_EQ(Image("MusicBox"), "Checkbox.png");
    Tap(Enter);  // and on again: the current music plays again
    EXPECT_EQ(game->musicEnabled, 1);
    EXPECT_TRUE(Playing("Menu_Music_Intro"));
    EXPECT_EQ(Image("MusicBox"), "CheckboxWithCheck.png");
    Tap(Enter);
    ASSERT_EQ(game->musicEnabled, 0);

    Tap(Down);
    EXPECT_EQ(Image("LeaveOptions"), "ReturnToMainMenuFinalHighlight.png");
    Tap(Enter);
    EXPECT_EQ(game->optionsOpen, 0);
    EXPECT_EQ(game->optionsSelection, 0);
    for (const char* part : {"OptionsBG", "OptionsText", "FSBox", "MusicBox", "FSText", "MText", "LeaveOptions", "GrayOut"})
        EXPECT_FALSE(Exists(part)) << part;
    EXPECT_EQ(GameStateIndex, 1);  // the leaving press chose nothing on the menu

    // Opened again: the boxes show the choices, the highlight is on full screen.
    Tap(Enter);
    Frame();
    EXPECT_EQ(Image("FSBox"), "Checkbox.png");
    EXPECT_EQ(Image("MusicBox"), "Checkbox.png");
    EXPECT_EQ(Image("FSText"), "FullscreenW.png");

    // With music off a new music is recorded but not played.
    Tap(Down);
    Tap(Down);
    Tap(Enter);
    Tap(Up);
    Tap(Up);
    Tap(Up);
    Tap(Enter);  // Start
    EXPECT_EQ(CurrentMusic(), "Level1_LevelMusic");
    EXPECT_FALSE(Playing("Level1_LevelMusic"));
}

TEST_F(GameFlow, CloseButtonAsksFirstAndFreezesTheWorldUntilAnswered)
{
    ToFirstLevel();
    game->window.closeRequested = 1;
    Frame();
    EXPECT_EQ(game->window.closeRequested, 0);
    ASSERT_EQ(game->confirmDialogOpen, 1);
    EXPECT_EQ(ConfirmAction, 0);
    for (const char* music : {"Level1_LevelMusic", "Level3_LevelMusic", "Level4_LevelMusic", "Level5_LevelMusic"})
        EXPECT_EQ(PausedParameter(music), 100.0f) << music;

    Tap(Down);
    Tap(Enter);  // no
    EXPECT_EQ(game->confirmDialogOpen, 0);
    Frame();
    EXPECT_EQ(PausedParameter("Level1_LevelMusic"), 0.0f);
    EXPECT_EQ(game->running, 1);

    // Yes ends the frame loop after the frame that took the answer, as a quit event would.
    game->window.closeRequested = 1;
    Frame();
    SDL_Event enter{};
    enter.key.type = SDL_KEYDOWN;
    enter.key.keysym.sym = SDLK_RETURN;
    ASSERT_EQ(SDL_PushEvent(&enter), 1);
    const std::int64_t frameStart = now;
    game->Run();  // one frame: the pump hands Enter over, the update quits
    EXPECT_EQ(game->running, 0);
    EXPECT_EQ(game->frameStartTime, frameStart);
    EXPECT_EQ(CountLogLines("[info] Quitting Game..."), 1);
    EXPECT_EQ(QueuedQuits(), 0);
}

}  // namespace GameFlowTest

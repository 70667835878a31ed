// The screen flow driven through the real game: splash, main menu, how-to-play, credits,
// and the level sequence through the score entry and the leaderboard.
#include "GameFlowFixture.h"

#include "TestSupport.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/SystemManager.h"
#include "game/GameState.h"
#include "game/Scoreboard.h"
#include "game/ScreenObjects.h"
#include "graphics/Camera.h"

#include <ostream>
#include <vector>

namespace GameFlowTest {

namespace {

struct SplashCase {
    const char* name;
    bool holdEnter;                 // Enter is held from the first frame
    std::vector<float> frames;      // frame times in seconds
    std::vector<std::string> seen;  // the splash image after each frame ("" once the menu is loaded)
};

void PrintTo(const SplashCase& splash, std::ostream* out) { *out << splash.name; }

class Splash : public GameFlow, public testing::WithParamInterface<SplashCase> {};

}  // namespace

TEST_P(Splash, ShowsTwoImagesByTheirTimersOrEnter)
{
    const SplashCase& splash = GetParam();
    if (splash.holdEnter)
        Engine::InputManager::Instance().KeyPressed(Enter);
    for (std::size_t frame = 0; frame < splash.frames.size(); ++frame) {
        Frame(splash.frames[frame]);
        EXPECT_EQ(Image("Splash"), splash.seen[frame]) << "after frame " << frame;
    }
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(CurrentLevel(), "Main Menu");
    EXPECT_EQ(game->previousState, 0);
    EXPECT_EQ(game->enterHeld, 0);  // the press that skipped the splash is spent
}

INSTANTIATE_TEST_SUITE_P(
    GameFlow, Splash,
    testing::Values(SplashCase{"Timers", false, {2.49f, 0.02f, 1.92f, 0.02f},
                               {"SplashScreen.png", "QuillmereSplashScreen.png", "QuillmereSplashScreen.png", ""}},
                    // The first image stays its full time; the second goes at once.
                    SplashCase{"EnterHeld", true, {1.0f, 1.0f, 0.49f, 0.02f},
                               {"SplashScreen.png", "SplashScreen.png", "SplashScreen.png", ""}}),
    [](const testing::TestParamInfo<SplashCase>& param) { return std::string(param.param.name); });

TEST_F(GameFlow, EnterSkipsTheSecondSplashImageAndAPendingF1StartsTheFirstLevel)
{
    Frame(2.5f);
    ASSERT_EQ(Image("Splash"), "QuillmereSplashScreen.png");
    Tap(F1);  // stays pending through the splash
    EXPECT_EQ(GameStateIndex, 0);
    Tap(Enter);
    EXPECT_EQ(GameStateIndex, 1);
    Frame();
    EXPECT_EQ(GameStateIndex, 3);
    EXPECT_EQ(CurrentLevel(), "Level 1");
    EXPECT_EQ(CurrentMusic(), "Level1_LevelMusic");
    EXPECT_EQ(game->advanceRequested, 0);
}

TEST_F(GameFlow, TheSplashWaitsWhileTheConfirmDialogIsOpen)
{
    game->window.closeRequested = 1;
    Frame(1.0f);
    ASSERT_EQ(game->confirmDialogOpen, 1);
    Frames(3, 5.0f);
    EXPECT_FLOAT_EQ(game->splashTimer, 1.5f);
    EXPECT_EQ(Image("Splash"), "SplashScreen.png");
}

namespace {

struct MenuCase {
    const char* name;
    int downs;  // Down presses from Start
    std::int32_t state;
    const char* level;
};

void PrintTo(const MenuCase& choice, std::ostream* out) { *out << choice.name; }

class MainMenu : public GameFlow, public testing::WithParamInterface<MenuCase> {};

}  // namespace

TEST_P(MainMenu, EnterTakesTheHighlightedChoice)
{
    const MenuCase& choice = GetParam();
    ToMainMenu();
    const int rolloversBefore = Starts("Button_Rollover");
    for (int press = 0; press < choice.downs; ++press)
        Tap(Down);
    EXPECT_EQ(Starts("Button_Rollover"), rolloversBefore + choice.downs);
    EXPECT_EQ(game->mainMenuSelection, choice.downs);
    const int forwardBefore = Starts("Button_GoForward");
    Tap(Enter);
    Frame();
    EXPECT_EQ(Starts("Button_GoForward"), forwardBefore + 1);
    EXPECT_EQ(GameStateIndex, choice.state);
    EXPECT_EQ(CurrentLevel(), choice.level);
    EXPECT_EQ(game->previousState, 1);
    EXPECT_EQ(game->howToPlayOpen, choice.downs == 2);
    EXPECT_EQ(game->optionsOpen, choice.downs == 3);
    EXPECT_EQ(Exists("OptionsBG"), choice.downs == 3);
    EXPECT_EQ(game->confirmDialogOpen, choice.downs == 5);
    EXPECT_EQ(Exists("Confirm"), choice.downs == 5);
    if (choice.downs == 5) {
        EXPECT_EQ(ConfirmAction, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(GameFlow, MainMenu,
                         testing::Values(MenuCase{"Start", 0, 3, "Level 1"}, MenuCase{"Leaderboard", 1, 8, "Scoreboard"},
                                         MenuCase{"HowToPlay", 2, 1, "Main Menu"}, MenuCase{"Options", 3, 1, "Main Menu"},
                                         MenuCase{"Credits", 4, 2, "Credits"}, MenuCase{"Exit", 5, 1, "Main Menu"}),
                         [](const testing::TestParamInfo<MenuCase>& param) { return std::string(param.param.name); });

TEST_F(GameFlow, MainMenuHighlightFollowsTheSelectionAndWrapsAround)
{
    ToMainMenu();
    EXPECT_EQ(Image("StartButton"), "StartHighlight.png");
    Tap(Up);
    EXPECT_EQ(game->mainMenuSelection, 5);
    EXPECT_EQ(Image("ExitButton"), "ExitHighlight.png");
    EXPECT_EQ(Image("StartButton"), "Start.png");
    Tap(Down);
    EXPECT_EQ(game->mainMenuSelection, 0);
    EXPECT_EQ(Image("StartButton"), "StartHighlight.png");
    EXPECT_EQ(Image("ExitButton"), "Exit.png");

    // Rewritten only when the selection moves: a hand-set image stays while nothing moves.
    Engine::ScreenObjects::Show("CreditsButton", "Changed.png");
    Frames(3);
    EXPECT_EQ(Image("CreditsButton"), "Changed.png");
    Tap(Down);
    EXPECT_EQ(Image("CreditsButton"), "Credits.png");
}

TEST_F(GameFlow, StartStopsTheMenuMusicAndPlaysTheFirstLevelsMusic)
{
    EXPECT_TRUE(Playing("Menu_Music_Intro"));
    EXPECT_EQ(CurrentMusic(), "Menu_Music_Intro");
    ToFirstLevel();
    EXPECT_FALSE(Playing("Menu_Music_Intro"));
    EXPECT_TRUE(Playing("Level1_LevelMusic"));
}

TEST_F(GameFlow, HowToPlayOpensOnOnePressAndClosesOnTheNext)
{
    ToMainMenu();
    Tap(Down);
    Tap(Down);
    Tap(Enter);
    ASSERT_EQ(game->howToPlayOpen, 1);
    EXPECT_EQ(Engine::ScreenObjects::TransformOf("HowToPlayScreen")->x_pos, 0.0f);
    EXPECT_EQ(Engine::ScreenObjects::TransformOf("HowToPlayBG")->x_pos, -13.0f);
    EXPECT_EQ(Engine::ScreenObjects::TransformOf("EnterToContinue")->x_pos, 0.0f);
    // Drawn in id order: after the menu, and the frame before the texts on it, so that the
    // soft edges of the texts blend with the frame.
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    EXPECT_GT(table.FindGameObject("HowToPlayBG"), table.FindGameObject("StartButton"));
    EXPECT_LT(table.FindGameObject("HowToPlayBG"), table.FindGameObject("HowToPlayScreen"));
    EXPECT_LT(table.FindGameObject("HowToPlayScreen"), table.FindGameObject("EnterToContinue"));

    const int backBefore = Starts("Button_GoBack");
    Tap(Enter);
    EXPECT_EQ(game->howToPlayOpen, 0);
    EXPECT_EQ(Starts("Button_GoBack"), backBefore + 1);
    for (const char* part : {"HowToPlayScreen", "HowToPlayBG", "EnterToContinue"})
        EXPECT_FALSE(Engine::ScreenObjects::Exists(part)) << part;
    // The closing press did not choose How to play again.
    Frame();
    EXPECT_EQ(game->howToPlayOpen, 0);
    EXPECT_EQ(GameStateIndex, 1);
}

TEST_F(GameFlow, CreditsRollStopsAtItsEndAndLeavesByItselfOrOnEnter)
{
    ToMainMenu();
    for (int press = 0; press < 4; ++press)
        Tap(Down);
    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 2);
    Frame();  // the camera now follows the roll
    const Engine::Transform* roll = Engine::ScreenObjects::TransformOf("Player");
    ASSERT_NE(roll, nullptr);
    EXPECT_FLOAT_EQ(roll->y_pos, -7994.0f);
    Frames(2);
    EXPECT_FLOAT_EQ(roll->y_pos, -8000.0f);
    Frames(5);
    EXPECT_FLOAT_EQ(roll->y_pos, -8000.0f);
    EXPECT_EQ(Engine::Camera::Instance()->eye[1], -8000.0f);

    Frame(2.0f);
    EXPECT_EQ(GameStateIndex, 2);
    Frame(1.0f);  // 2.5 s after the roll's end
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(CurrentLevel(), "Main Menu");
    EXPECT_EQ(game->screenTimer, 2.5f);
    EXPECT_EQ(game->previousState, 2);

    // A second visit, left early with Enter.
    Tap(Enter);  // Credits is still selected
    ASSERT_EQ(GameStateIndex, 2);
    Frame();
    Tap(Enter);
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(game->advanceRequested, 0);
}

TEST_F(GameFlow, LevelEndShowsTheOverviewThenScoreEntryLeaderboardAndTheNextLevel)
{
    ToFirstLevel();
    const std::vector<std::vector<std::string>> sequence = {
        // level, its music, the complete image, the next level (or the credits) and its music
        {"Level 1", "Level1_LevelMusic", "Level1Complete.png", "Level 2", "Level3_LevelMusic"},
        {"Level 2", "Level3_LevelMusic", "Level2Complete.png", "Level 3", "Level4_LevelMusic"},
        {"Level 3", "Level4_LevelMusic", "Level3Complete.png", "Level 4", "Level5_LevelMusic"},
        {"Level 4", "Level5_LevelMusic", "Level4Complete.png", "Credits", "Menu_Music"},
    };
    const float overviews[4][4] = {
        {7750.0f, 0.0f, 16524.0f, 9295.0f},
        {8300.0f, 0.0f, 17350.0f, 9759.0f},
        {8800.0f, -1000.0f, 18360.0f, 10328.0f},
        {8350.0f, -1000.0f, 17400.0f, 9789.0f},
    };
    const Engine::Camera& camera = *Engine::Camera::Instance();
    for (std::size_t index = 0; index < sequence.size(); ++index) {
        const auto& step = sequence[index];
        SCOPED_TRACE(step[0]);
        const std::int32_t state = static_cast<std::int32_t>(3 + index);
        ASSERT_EQ(GameStateIndex, state);
        EXPECT_EQ(CurrentLevel(), step[0]);
        EXPECT_EQ(CurrentMusic(), step[1]);
        EXPECT_EQ(camera.viewWidth, 1920.0f);  // following the player

        game->levelChangeRequested = 1;
        Frame();
        EXPECT_EQ(game->levelCompleteShown, 1);
        EXPECT_FALSE(Playing(step[1]));
        EXPECT_EQ(camera.eye[0], overviews[index][0]);
        EXPECT_EQ(camera.eye[1], overviews[index][1]);
        EXPECT_EQ(camera.position[0], overviews[index][0]);
        EXPECT_EQ(camera.viewWidth, overviews[index][2]);
        EXPECT_EQ(camera.viewHeight, overviews[index][3]);
        Frames(2);
        EXPECT_EQ(GameStateIndex, state);  // the overview stays until Enter

        Tap(Enter);
        EXPECT_EQ(GameStateIndex, 7);
        EXPECT_EQ(CurrentLevel(), "Scores");
        EXPECT_EQ(game->previousState, state);
        Frame();
        EXPECT_EQ(Image("LevelComplete"), step[2]);

        Tap(Enter);
        EXPECT_EQ(GameStateIndex, 8);
        EXPECT_EQ(CurrentLevel(), "Scoreboard");
        Frame();
        Tap(Enter);
        EXPECT_EQ(CurrentLevel(), step[3]);
        EXPECT_EQ(CurrentMusic(), step[4]);
        EXPECT_EQ(game->previousState, 8);
        Frame();
    }
    // After the last level the credits lead to the main menu.
    EXPECT_EQ(GameStateIndex, 2);
    Tap(Enter);
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(CurrentLevel(), "Main Menu");
}

TEST_F(GameFlow, TheScoreIsEnteredThenShownOnTheLeaderboardBetweenLevels)
{
    ToFirstLevel();
    const Engine::Scoreboard& scoreboard = *Engine::GetSystem<Engine::Scoreboard>();
    EXPECT_TRUE(Exists("ScoreDigit0"));
    Frames(150);  // two and a half seconds of play
    const std::uint32_t score = scoreboard.score;
    EXPECT_LT(score, 300u);
    EXPECT_GE(score, 297u);

    FinishLevel();
    Frame();
    EXPECT_EQ(TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "Scoreboard.txt"),
              "PLAYER " + std::to_string(scoreboard.score) + "\n");

    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 8);
    Frame();
    EXPECT_TRUE(Exists("Leaderboard10"));  // the title's last letter
    EXPECT_EQ(Count("Letter5"), 1u);       // one row: "PLAYER"
    EXPECT_TRUE(Exists("EntryDigit5"));

    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 4);
    Frame();
    EXPECT_FALSE(Exists("Leaderboard10"));
    EXPECT_FALSE(Exists("Letter0"));
    EXPECT_EQ(scoreboard.score, 300u);  // a new level starts a new score
    EXPECT_TRUE(Exists("ScoreDigit0"));
}

TEST_F(GameFlow, TheLeaderboardOpenedFromTheMenuReturnsToTheMenuOnly)
{
    ToFirstLevel();
    Tap(F1);  // a level that has not ended also leads to the score entry
    ASSERT_EQ(GameStateIndex, 7);
    Tap(Enter);
    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 4);
    // Back to the menu through the pause menu, then the leaderboard from there.
    Tap(Escape);
    for (int press = 0; press < 5; ++press)
        Tap(Down);
    Tap(Enter);
    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 1);
    Frame();
    Tap(Down);
    Tap(Enter);
    ASSERT_EQ(GameStateIndex, 8);
    Frame();
    Tap(Enter);
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(CurrentLevel(), "Main Menu");
    EXPECT_EQ(game->previousState, 8);
}

}  // namespace GameFlowTest

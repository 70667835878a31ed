// The game flow as a player meets it on the shipped screens and levels: the real game
// through its own frame loop, keys and the close button as SDL events, frames read back
// from the renderer. Deaths and their camera shake, the credits roll, levels left while
// paused, restarts and dialogs opened over other dialogs.
#include "GameDriver.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/GameObjectTable.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "game/ScreenObjects.h"
#include "game/Scoreboard.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

using EndToEnd::GameDriver;
namespace Screen = Engine::ScreenObjects;

std::string Level() { return Engine::LevelManager::Instance().currentLevel; }

Engine::Controller* PlayerController() { return Screen::FollowedComponent<Engine::Controller>(); }

Engine::Scoreboard& Board() { return *Engine::GetSystem<Engine::Scoreboard>(); }

std::size_t ActiveTimers()
{
    const auto& timers = Engine::GetSystem<Engine::TimerDatabase>()->timers;
    return static_cast<std::size_t>(
        std::count_if(timers.begin(), timers.end(), [](const auto& timer) { return timer != nullptr && timer->active; }));
}

// Live particles within 200 units of a world point.
int LiveParticlesNear(float x, float y)
{
    const auto& particles = Engine::GetSystem<Engine::ParticleSystem>()->particles;
    return static_cast<int>(std::count_if(particles.begin(), particles.end(), [&](const Engine::Particle& particle) {
        return particle.alive && std::abs(particle.x - x) < 200.0f && std::abs(particle.y - y) < 200.0f;
    }));
}

bool ScoreDigitsShown()
{
    return Screen::Exists("ScoreDigit0") && Screen::Exists("ScoreDigit1") && Screen::Exists("ScoreDigit2");
}

void PressCloseButton(GameDriver& driver)
{
    SDL_Event close{};
    close.window.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(driver.game().window.Handle());
    ASSERT_EQ(SDL_PushEvent(&close), 1) << SDL_GetError();
}

class GameFlowPlayed : public testing::Test {
protected:
    void ToMainMenu()
    {
        ASSERT_TRUE(driver.FramesUntil([] { return GameStateIndex == 1; }, 400));
        driver.Frames(2);
    }

    // The main menu's fifth button, "Credits".
    void ToCredits()
    {
        ToMainMenu();
        for (int i = 0; i < 4; ++i)
            driver.Tap(SDLK_DOWN);
        driver.Tap(SDLK_RETURN);
        ASSERT_EQ(GameStateIndex, 2);
        ASSERT_EQ(Level(), "Credits");
    }

    void ToFirstLevel()
    {
        ToMainMenu();
        driver.Tap(SDLK_RETURN);  // Start is highlighted first
        ASSERT_EQ(GameStateIndex, 3);
        ASSERT_EQ(Level(), "Level 1");
        driver.Frames(30);
    }

    // The level's goal reached, as its gate script does; the overview is shown.
    void ReachTheGate()
    {
        driver.game().levelChangeRequested = 1;
        driver.Frames(2);
        ASSERT_EQ(driver.game().levelCompleteShown, 1);
    }

    // From the score entry through the leaderboard into the next level, checking that the
    // score was entered and the next level starts unpaused at 300 with its digits.
    void OnToTheNextLevel(std::uint32_t scoreLeft)
    {
        ASSERT_EQ(GameStateIndex, 7);
        EXPECT_EQ(Level(), "Scores");
        driver.Frames(5);
        EXPECT_EQ(driver.game().paused, 0);
        EXPECT_TRUE(Board().scoreEntered);
        const auto entered = std::find(Board().entries.begin(), Board().entries.end(), Engine::ScoreEntry{"PLAYER", scoreLeft});
        EXPECT_NE(entered, Board().entries.end()) << "PLAYER " << scoreLeft << " on the leaderboard";
        driver.Tap(SDLK_RETURN);
        ASSERT_EQ(GameStateIndex, 8);
        driver.Frames(5);
        EXPECT_TRUE(Board().leaderboardShown);
        driver.Tap(SDLK_RETURN);
        ASSERT_EQ(GameStateIndex, 4);
        EXPECT_EQ(Level(), "Level 2");
        driver.Frames(5);
        EXPECT_EQ(driver.game().paused, 0);
        EXPECT_FALSE(Screen::Exists("Pause"));
        EXPECT_EQ(Board().score, 300u);
        EXPECT_TRUE(ScoreDigitsShown());
        driver.Frames(70);  // and the level runs: its score counts down
        EXPECT_EQ(Board().score, 299u);
    }

    GameDriver driver;
};

TEST_F(GameFlowPlayed, TheDeathShakeStaysWithinItsMagnitudeOfWhereItBegan)
{
    ToFirstLevel();
    const Engine::Camera& camera = *Engine::Camera::Instance();
    const float startX = camera.eye[0];
    const float startY = camera.eye[1];
    PlayerController()->isDead = true;  // as the lava's handler does

    float furthest = 0.0f;
    int frames = 0;
    while (PlayerController()->isDead && frames < 200) {
        driver.Frames(1);
        ++frames;
        if (!camera.followEnabled)
            furthest = std::max({furthest, std::abs(camera.eye[0] - startX), std::abs(camera.eye[1] - startY)});
    }
    EXPECT_FALSE(PlayerController()->isDead);
    EXPECT_LE(frames, 66) << "the shake ends about a second after the death";
    EXPECT_GT(furthest, 1.0f) << "the view shook";
    EXPECT_LE(furthest, 10.001f) << "the view left the place where the shake began";
    EXPECT_EQ(camera.eye[0], Screen::FollowedComponent<Engine::Transform>()->x_pos);
}

TEST_F(GameFlowPlayed, ADeadPlayerFrozenInThePauseMenuAddsNoTimers)
{
    ToFirstLevel();
    driver.Tap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    PlayerController()->isDead = true;
    driver.Frames(1);
    const std::size_t timers = ActiveTimers();
    driver.Frames(600);
    EXPECT_EQ(ActiveTimers(), timers);

    // Resumed, the death shakes the view once and the player is followed again.
    driver.Tap(SDLK_RETURN);
    ASSERT_EQ(driver.game().paused, 0);
    EXPECT_TRUE(driver.FramesUntil([] { return !PlayerController()->isDead; }, 70));
    driver.Frames(70);
    EXPECT_EQ(Engine::Camera::Instance()->followEnabled, 1);
}

TEST_F(GameFlowPlayed, EscapeOnTheLevelCompleteScreenThenEnterKeepsTheScore)
{
    ToFirstLevel();
    ReachTheGate();
    driver.Tap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    const std::uint32_t scoreLeft = Board().score;
    driver.Tap(SDLK_RETURN);  // "Resume": the pause menu's, the overview stays
    ASSERT_EQ(driver.game().paused, 0);
    ASSERT_EQ(GameStateIndex, 3);
    driver.Frames(120);
    driver.Tap(SDLK_RETURN);  // the overview's own Enter
    OnToTheNextLevel(scoreLeft);
}

TEST_F(GameFlowPlayed, F1WhilePausedKeepsTheScore)
{
    ToFirstLevel();
    driver.Tap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    const std::uint32_t scoreLeft = Board().score;
    driver.Tap(SDLK_F1);
    OnToTheNextLevel(scoreLeft);
}

// The score screen's "Player" (at 0, 0, between the label and the digits) only anchors the
// camera; it leaves no trail. The level's own particles, left behind, die within a second.
TEST_F(GameFlowPlayed, TheScoreScreenShowsNoTrailBesideTheScore)
{
    ToFirstLevel();
    ReachTheGate();
    driver.Tap(SDLK_RETURN);
    ASSERT_EQ(GameStateIndex, 7);
    driver.Frames(70);
    EXPECT_EQ(LiveParticlesNear(0.0f, 0.0f), 0);
    EXPECT_TRUE(std::none_of(Engine::GetSystem<Engine::ParticleSystem>()->particles.begin(),
                             Engine::GetSystem<Engine::ParticleSystem>()->particles.end(),
                             [](const Engine::Particle& particle) { return particle.alive; }));
}

TEST_F(GameFlowPlayed, RestartLevelShowsTheScoreDigitsAgainAtThreeHundred)
{
    ToFirstLevel();
    driver.Frames(120);
    ASSERT_LT(Board().score, 300u);
    driver.Tap(SDLK_ESCAPE);
    driver.Tap(SDLK_DOWN);  // Restart Level
    driver.Tap(SDLK_RETURN);
    ASSERT_EQ(driver.game().confirmDialogOpen, 1);
    driver.Tap(SDLK_RETURN);  // yes
    ASSERT_EQ(GameStateIndex, 3);
    driver.Frames(2);
    EXPECT_EQ(driver.game().paused, 0);
    EXPECT_EQ(Board().score, 300u);
    EXPECT_TRUE(ScoreDigitsShown());
    driver.Frames(65);
    EXPECT_EQ(Board().score, 299u);
    EXPECT_TRUE(ScoreDigitsShown());
}

// Every page of the credits, and the logo above the first, shows over the backdrop while
// the roll passes it: where the page stands, the frame differs from the backdrop alone.
TEST_F(GameFlowPlayed, TheCreditsRollShowsTheLogoAndEveryPage)
{
    ToCredits();

    struct Sight {
        std::string page;
        float eyeX = 0.0f;
        float eyeY = 0.0f;
        std::vector<std::array<std::uint8_t, 4>> pixels;
    };
    std::vector<Sight> sights;
    const Engine::Camera& camera = *Engine::Camera::Instance();
    const auto see = [&](const std::string& page) {
        Sight sight{page, camera.eye[0], camera.eye[1], {}};
        int width = 0;
        int height = 0;
        sight.pixels = driver.WorldPixels(width, height);
        sights.push_back(std::move(sight));
    };
    const std::vector<std::string> pages = {"CreditA", "CreditB", "CreditC", "CreditD", "CreditE",
                                            "CreditF", "CreditG", "CreditH", "CreditI"};
    driver.Frames(2);
    see("CreditsLogo");  // the logo heads the roll
    driver.Frames(180);  // a few seconds in: the first page stands in the middle
    see("CreditA");
    // The later pages: the roll is taken on to a little before each (it would pass them
    // 250 frames apart) and runs on to it.
    for (std::size_t page = 1; page < pages.size(); ++page) {
        const float pageY = Screen::TransformOf(pages[page])->y_pos;
        Screen::FollowedComponent<Engine::Transform>()->y_pos = pageY + 20.0f;
        ASSERT_TRUE(driver.FramesUntil([&] { return camera.eye[1] <= pageY; }, 10)) << pages[page];
        see(pages[page]);
    }
    ASSERT_EQ(GameStateIndex, 2);
    ASSERT_FALSE(sights.empty());

    // The backdrop alone: it follows the camera, so it stands the same in every frame.
    std::vector<Engine::Transform> placed;
    for (const std::string& page : pages)
        placed.push_back(*Screen::TransformOf(page));
    const Engine::Transform logo = *Screen::TransformOf("CreditsLogo");
    for (const char* page : {"CreditsLogo", "CreditA", "CreditB", "CreditC", "CreditD", "CreditE", "CreditF", "CreditG",
                             "CreditH", "CreditI"})
        Engine::GameObjectTable::Instance().RemoveGameObject(Engine::GameObjectTable::Instance().FindGameObject(page));
    driver.Frames(1);
    ASSERT_EQ(GameStateIndex, 2) << "the roll left before the backdrop was seen alone";
    int width = 0;
    int height = 0;
    const std::vector<std::array<std::uint8_t, 4>> backdrop = driver.WorldPixels(width, height);

    // The share of the page's pixels on screen that differ from the backdrop alone.
    const auto shown = [&](const Sight& sight, const Engine::Transform& page) {
        const float unitsPerPixelX = camera.viewWidth / static_cast<float>(width);
        const float unitsPerPixelY = camera.viewHeight / static_cast<float>(height);
        const int left = std::max(0, static_cast<int>((page.x_pos - page.x_sca - sight.eyeX) / unitsPerPixelX + static_cast<float>(width) / 2.0f));
        const int right = std::min(width, static_cast<int>((page.x_pos + page.x_sca - sight.eyeX) / unitsPerPixelX + static_cast<float>(width) / 2.0f));
        const int top = std::max(0, static_cast<int>(static_cast<float>(height) / 2.0f - (page.y_pos + page.y_sca - sight.eyeY) / unitsPerPixelY));
        const int bottom = std::min(height, static_cast<int>(static_cast<float>(height) / 2.0f - (page.y_pos - page.y_sca - sight.eyeY) / unitsPerPixelY));
        int differing = 0;
        int all = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const std::size_t at = static_cast<std::size_t>(y * width + x);
                ++all;
                for (int channel = 0; channel < 3; ++channel) {
                    if (std::abs(sight.pixels[at][channel] - backdrop[at][channel]) > 24) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        return all == 0 ? 0.0 : static_cast<double>(differing) / all;
    };
    for (const Sight& sight : sights) {
        const auto page = std::find(pages.begin(), pages.end(), sight.page);
        const Engine::Transform& where = page == pages.end() ? logo : placed[static_cast<std::size_t>(page - pages.begin())];
        EXPECT_GT(shown(sight, where), 0.05) << sight.page << " at eye y " << sight.eyeY;
    }
}

// The main menu's picture ends in a hint line ("Up / Down to choose, Enter to go") along
// the bottom of the screen, at world y -478 to -515; the how-to-play frame stops above it.
TEST_F(GameFlowPlayed, TheHowToPlayFrameLeavesTheMenusHintLineClear)
{
    ToMainMenu();
    int width = 0;
    int height = 0;
    const std::vector<std::array<std::uint8_t, 4>> menu = driver.WorldPixels(width, height);
    driver.Tap(SDLK_DOWN);
    driver.Tap(SDLK_DOWN);
    driver.Tap(SDLK_RETURN);  // How to Play
    ASSERT_EQ(driver.game().howToPlayOpen, 1);
    const std::vector<std::array<std::uint8_t, 4>> open = driver.WorldPixels(width, height);

    const Engine::Camera& camera = *Engine::Camera::Instance();
    const auto row = [&](float worldY) {
        return static_cast<int>((camera.eye[1] + camera.viewHeight / 2.0f - worldY) / camera.viewHeight * static_cast<float>(height));
    };
    int changed = 0;
    for (int y = row(-478.0f); y < row(-515.0f); ++y)
        for (int x = width / 4; x < width * 3 / 4; ++x)
            if (menu[static_cast<std::size_t>(y * width + x)] != open[static_cast<std::size_t>(y * width + x)])
                ++changed;
    EXPECT_EQ(changed, 0);
    // The frame itself is open above the line.
    EXPECT_NE(menu[static_cast<std::size_t>(row(0.0f) * width + width / 2)], open[static_cast<std::size_t>(row(0.0f) * width + width / 2)]);
}

// The close button while the options dialog is open, over the main menu and over the pause
// menu: the confirmation takes Up, Down and Enter alone, and both answers work.
TEST_F(GameFlowPlayed, TheCloseButtonOverTheOptionsDialogAsksAndIsAnswered)
{
    ToMainMenu();
    for (int i = 0; i < 3; ++i)
        driver.Tap(SDLK_DOWN);
    driver.Tap(SDLK_RETURN);  // Options
    ASSERT_EQ(driver.game().optionsOpen, 1);

    for (bool overPauseMenu : {false, true}) {
        SCOPED_TRACE(overPauseMenu ? "over the pause menu" : "over the main menu");
        if (overPauseMenu) {
            driver.Tap(SDLK_DOWN);
            driver.Tap(SDLK_DOWN);
            driver.Tap(SDLK_RETURN);  // leaves the options
            ASSERT_EQ(driver.game().optionsOpen, 0);
            driver.Tap(SDLK_UP);
            driver.Tap(SDLK_UP);
            driver.Tap(SDLK_UP);  // Start
            driver.Tap(SDLK_RETURN);
            ASSERT_EQ(GameStateIndex, 3);
            driver.Frames(10);
            driver.Tap(SDLK_ESCAPE);
            for (int i = 0; i < 3; ++i)
                driver.Tap(SDLK_DOWN);
            driver.Tap(SDLK_RETURN);  // Options
            ASSERT_EQ(driver.game().optionsOpen, 1);
        }
        const bool fullscreen = driver.game().fullscreen;
        const std::int32_t optionsSelection = driver.game().optionsSelection;
        driver.Frames(1);
        int width = 0;
        int height = 0;
        const std::vector<std::array<std::uint8_t, 4>> options = driver.WorldPixels(width, height);

        PressCloseButton(driver);
        driver.Frames(2);
        ASSERT_EQ(driver.game().confirmDialogOpen, 1);
        EXPECT_EQ(driver.game().confirmSelection, 0);
        // The confirmation's frame shows in front of the options dialog: the right edge of
        // the frame, beside its buttons, is no longer the options dialog's picture.
        const Engine::Transform* frame = Screen::TransformOf("Confirm");
        ASSERT_NE(frame, nullptr);
        const std::vector<std::array<std::uint8_t, 4>> asked = driver.WorldPixels(width, height);
        const Engine::Camera& camera = *Engine::Camera::Instance();
        const auto pixel = [&](float x, float y) {
            const int column = static_cast<int>((x - camera.eye[0]) / camera.viewWidth * static_cast<float>(width) + static_cast<float>(width) / 2.0f);
            const int row = static_cast<int>(static_cast<float>(height) / 2.0f - (y - camera.eye[1]) / camera.viewHeight * static_cast<float>(height));
            return static_cast<std::size_t>(row * width + column);
        };
        int changed = 0;
        for (float x = frame->x_pos + 235.0f; x < frame->x_pos + 275.0f; x += 1.5f)
            for (float y = frame->y_pos - 30.0f; y < frame->y_pos; y += 1.5f)
                changed += options[pixel(x, y)] != asked[pixel(x, y)] ? 1 : 0;
        EXPECT_GT(changed, 200) << "the confirmation's frame is hidden";
        driver.Tap(SDLK_DOWN);
        EXPECT_EQ(driver.game().confirmSelection, 1);
        EXPECT_EQ(driver.game().optionsSelection, optionsSelection);
        driver.Tap(SDLK_RETURN);  // no
        EXPECT_EQ(driver.game().confirmDialogOpen, 0);
        EXPECT_FALSE(Screen::Exists("Confirm"));
        EXPECT_EQ(driver.game().fullscreen, fullscreen) << "the options dialog took the answer";
        EXPECT_EQ(driver.game().optionsOpen, 1);

        PressCloseButton(driver);
        driver.Frames(1);
        ASSERT_EQ(driver.game().confirmDialogOpen, 1);
        driver.game().previousState = -1;
        driver.Tap(SDLK_RETURN);  // yes
        EXPECT_EQ(driver.game().fullscreen, fullscreen) << "the options dialog took the answer";
        // A yes closes the dialog and carries out its action: the quit leaves the dialog
        // standing for the program's last frame, where a no removes it.
        EXPECT_EQ(driver.game().confirmDialogOpen, 0);
        EXPECT_TRUE(Screen::Exists("Confirm"));
        EXPECT_EQ(driver.game().previousState, GameStateIndex);
    }
}

}  // namespace

// The countdown ends at the gate: however long the overview is looked at, the score entered
// is the one on the HUD when the level was won.
TEST_F(GameFlowPlayed, TheScoreStopsAtTheGateAndIsEnteredAsItWas)
{
    ToFirstLevel();
    driver.Frames(200);
    ReachTheGate();
    const std::uint32_t atTheGate = Board().score;
    ASSERT_LT(atTheGate, 300u) << "the level ran for a while";
    driver.Frames(14 * 60);
    EXPECT_EQ(Board().score, atTheGate);
    driver.Tap(SDLK_RETURN);
    OnToTheNextLevel(atTheGate);
}

// F1 leaves the overview as Enter does: the score screen has the follow camera's view.
TEST_F(GameFlowPlayed, F1OnTheLevelCompleteScreenLeavesTheOverviewBehind)
{
    ToFirstLevel();
    ReachTheGate();
    const Engine::Camera& camera = *Engine::Camera::Instance();
    ASSERT_GT(camera.viewWidth, 1920.0f) << "the overview shows the whole level";
    driver.Tap(SDLK_F1);
    ASSERT_EQ(GameStateIndex, 7);
    driver.Frames(2);
    EXPECT_EQ(driver.game().levelCompleteShown, 0);
    EXPECT_FLOAT_EQ(camera.viewWidth, 1920.0f);
    EXPECT_FLOAT_EQ(camera.viewHeight, 1080.0f);
}

// A confirmation asked and answered No during the hold at the roll's end holds nothing: the
// credits still leave 2.5 s after the hold began.
TEST_F(GameFlowPlayed, TheCreditsLeaveOnTimeThoughAConfirmationWasAnsweredNo)
{
    ToCredits();
    Screen::FollowedComponent<Engine::Transform>()->y_pos = -7990.0f;  // near the end of the roll
    ASSERT_TRUE(driver.FramesUntil([] { return Screen::FollowedComponent<Engine::Transform>()->y_pos <= -8000.0f; }, 10));
    const std::int64_t holdBegan = driver.frame;

    PressCloseButton(driver);
    driver.Frames(60);
    ASSERT_EQ(driver.game().confirmDialogOpen, 1);
    driver.Tap(SDLK_DOWN);
    driver.Tap(SDLK_RETURN);  // No
    ASSERT_EQ(driver.game().confirmDialogOpen, 0);
    ASSERT_EQ(GameStateIndex, 2);

    ASSERT_TRUE(driver.FramesUntil([] { return GameStateIndex != 2; }, 300));
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_NEAR(static_cast<double>(driver.frame - holdBegan), 150.0, 3.0) << "frames from the hold to leaving";
}

// The pause menu opens where the camera looks and stays in view while it is open: Escape
// just after a death (the camera still where the player died, the player already sent back),
// then F7 while paused (the player warped on to the next flag).
TEST_F(GameFlowPlayed, ThePauseMenuStandsWhereTheCameraLooksAfterADeathAndF7)
{
    ToFirstLevel();
    const Engine::Camera& camera = *Engine::Camera::Instance();
    const auto menuInView = [&] {
        const Engine::Transform* frame = Screen::TransformOf("Pause");
        return frame != nullptr && std::abs(frame->x_pos - camera.eye[0]) < frame->x_sca &&
               std::abs(frame->y_pos - camera.eye[1]) < frame->y_sca;
    };
    PlayerController()->isDead = true;  // as the lava's handler does, sending the player back
    Screen::FollowedComponent<Engine::Transform>()->x_pos += 1500.0f;
    driver.Frames(18);
    driver.Tap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    driver.Frames(2);
    EXPECT_TRUE(menuInView()) << "after a death";
    driver.Tap(SDLK_RETURN);  // "Resume", highlighted first
    ASSERT_TRUE(driver.FramesUntil([&] { return !PlayerController()->isDead && camera.followEnabled; }, 200));
    driver.Frames(5);

    driver.Tap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    driver.Frames(2);
    ASSERT_TRUE(menuInView());
    const float playerX = Screen::FollowedComponent<Engine::Transform>()->x_pos;
    driver.Tap(SDLK_F7);
    driver.Frames(5);
    ASSERT_GT(std::abs(Screen::FollowedComponent<Engine::Transform>()->x_pos - playerX), 500.0f) << "F7 warped the player";
    EXPECT_TRUE(menuInView()) << "after F7";
}

// On the level-complete screen an Enter that picks a pause-menu entry, or answers its
// confirmation, goes there alone: the overview's own "Enter to continue" is not taken.
TEST_F(GameFlowPlayed, OnTheLevelCompleteScreenEnterGoesToTheOpenMenuAlone)
{
    struct Case {
        const char* entry;
        int downs;  // from "Resume"
        std::int32_t state;
        const char* level;
    };
    for (const Case& entry : {Case{"Restart Level", 1, 3, "Level 1"}, Case{"Main Menu", 5, 1, "Main Menu"}}) {
        if (GameStateIndex != 3)
            ToFirstLevel();
        ASSERT_EQ(GameStateIndex, 3) << entry.entry;
        ReachTheGate();
        driver.Tap(SDLK_ESCAPE);
        ASSERT_EQ(driver.game().paused, 1) << entry.entry;
        for (int i = 0; i < entry.downs; ++i)
            driver.Tap(SDLK_DOWN);
        driver.Tap(SDLK_RETURN);  // the entry asks first
        ASSERT_EQ(driver.game().confirmDialogOpen, 1) << entry.entry;
        EXPECT_EQ(GameStateIndex, 3) << entry.entry << ": the overview stays until the answer";
        driver.Tap(SDLK_RETURN);  // Yes
        driver.Frames(3);
        EXPECT_EQ(GameStateIndex, entry.state) << entry.entry;
        EXPECT_EQ(Level(), entry.level) << entry.entry;
        EXPECT_EQ(driver.game().levelCompleteShown, 0) << entry.entry;
        EXPECT_FALSE(Board().scoreEntered) << entry.entry << ": no score was entered";
    }
}

// A key pressed and released between two frames is a press all the same: the pause menu's
// highlight moves once per tap, its entry opens the question and Enter answers it.
TEST_F(GameFlowPlayed, QuickTapsWorkThePauseMenuAndItsQuestion)
{
    ToFirstLevel();
    driver.QuickTap(SDLK_ESCAPE);
    ASSERT_EQ(driver.game().paused, 1);
    for (int i = 1; i <= 5; ++i) {
        driver.QuickTap(SDLK_DOWN);
        EXPECT_EQ(driver.game().pauseMenuSelection, i);
    }
    driver.QuickTap(SDLK_RETURN);  // "Main Menu" asks first
    ASSERT_EQ(driver.game().confirmDialogOpen, 1);
    driver.QuickTap(SDLK_RETURN);  // Yes
    driver.Frames(3);
    EXPECT_EQ(GameStateIndex, 1);
    EXPECT_EQ(Level(), "Main Menu");
}

// The game's start-up, its debug and menu keys, the full-screen step and the camera shake
// of a player death, driven through the real game.
#include "GameFlowFixture.h"

#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/InputManager.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "game/ScreenObjects.h"
#include "graphics/Camera.h"
#include "scripting/ScriptManager.h"

#include <SDL.h>

#include <algorithm>

namespace GameFlowTest {

namespace {

Engine::Controller* PlayerController()
{
    return Engine::ScreenObjects::FollowedComponent<Engine::Controller>();
}

Engine::Transform* PlayerTransform() { return Engine::ScreenObjects::FollowedComponent<Engine::Transform>(); }

void SendFocus(const Game& game, bool gained)
{
    SDL_Event focus{};
    focus.window.type = SDL_WINDOWEVENT;
    focus.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    focus.window.windowID = SDL_GetWindowID(game.window.Handle());
    ASSERT_EQ(SDL_PushEvent(&focus), 1) << SDL_GetError();
    ASSERT_TRUE(Window::PumpMessages());
}

}  // namespace

TEST_F(GameFlow, StartUpLoadsTheSplashBindsTheKeysAndPlaysTheIntro)
{
    EXPECT_EQ(GameStateIndex, 0);
    EXPECT_EQ(CurrentLevel(), "Splash Screen");
    EXPECT_EQ(Image("Splash"), "SplashScreen.png");
    EXPECT_EQ(CurrentMusic(), "Menu_Music_Intro");
    EXPECT_TRUE(Playing("Menu_Music_Intro"));
    EXPECT_EQ(Engine::Camera::Instance()->followedObjectId, static_cast<std::int32_t>(Engine::InvalidObjectId));

    const auto& everyFrame = Engine::GetSystem<Engine::ScriptManager>()->everyFrame;
    for (const char* script : {"ApplyGravity", "ApplyFriction"})
        EXPECT_EQ(std::count(everyFrame.begin(), everyFrame.end(), script), 1) << script;

    const Engine::InputManager& input = Engine::InputManager::Instance();
    for (std::uint8_t key : {BackQuote, F1, Up, Down, Escape, Enter, F2, F3, F4, F11, F6, F7})
        EXPECT_EQ(input.keyPressed.count(key), 1u) << static_cast<int>(key);
    EXPECT_EQ(input.keyUp.count(Enter), 1u);
}

// A splash that holds a player: start-up gives it one landing handler and one checkpoint.
class GameFlowWithPlayerSplash : public GameFlow {
protected:
    const char* LevelList() const override { return VANTREL_TEST_DIR "/game/fixtures/PlayerSplash.json"; }
};

TEST_F(GameFlowWithPlayerSplash, StartUpGivesThePlayerItsLandingHandlerAndACheckpoint)
{
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    ASSERT_NE(player, Engine::InvalidObjectId);
    EXPECT_EQ(Engine::Camera::Instance()->followedObjectId, static_cast<std::int32_t>(player));
    const Engine::EventSet* events = Engine::ComponentStore::Instance().GetComponent<Engine::EventSet>(player);
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->events.at("Bottom Collision"), std::vector<std::string>{"IsGrounded"});
    const Engine::Checkpoint* checkpoint = Engine::ComponentStore::Instance().GetComponent<Engine::Checkpoint>(player);
    ASSERT_NE(checkpoint, nullptr);
    EXPECT_EQ(checkpoint->x, 90.0f);
    EXPECT_EQ(checkpoint->y, 900.0f);
}

TEST_F(GameFlow, EscapePausesOnlyInALevel)
{
    ToMainMenu();
    Tap(Escape);
    Frame();
    EXPECT_EQ(game->paused, 0);
    EXPECT_FALSE(Exists("Pause"));
    EXPECT_EQ(CountLogLines("Pausing/Unpausing game"), 0);

    Tap(Enter);
    Frame();
    ASSERT_EQ(GameStateIndex, 3);
    Tap(Escape);
    Tap(Escape);  // already paused: stays paused, logged again
    EXPECT_EQ(game->paused, 1);
    EXPECT_EQ(Count("Pause"), 1u);
    EXPECT_EQ(CountLogLines("[debug] Pausing/Unpausing game"), 2);
    Tap(Up);
    EXPECT_EQ(game->pauseMenuSelection, 6);
    Tap(Down);
    EXPECT_EQ(game->pauseMenuSelection, 0);
}

TEST_F(GameFlow, F1AdvancesF6SkipsToTheLastLevelAndF7WarpsToTheNextCheckpoint)
{
    ToMainMenu();
    Tap(F1);
    ASSERT_EQ(GameStateIndex, 3);
    Frame();

    // Checkpoints ahead at x 500 and 900; the one at x 50 is behind the player near x 100.
    ASSERT_NEAR(PlayerTransform()->x_pos, 100.0f, 1.0f);
    Engine::InputManager& input = Engine::InputManager::Instance();
    input.KeyPressed(F7);
    input.KeyReleased(F7);
    EXPECT_EQ(PlayerTransform()->x_pos, 500.0f);
    EXPECT_EQ(PlayerTransform()->y_pos, 130.0f);
    input.KeyPressed(F7);
    input.KeyReleased(F7);
    EXPECT_EQ(PlayerTransform()->x_pos, 900.0f);
    EXPECT_EQ(PlayerTransform()->y_pos, 90.0f);
    input.KeyPressed(F7);  // nothing further ahead
    EXPECT_EQ(PlayerTransform()->x_pos, 900.0f);
    EXPECT_EQ(PlayerTransform()->y_pos, 90.0f);
    input.KeyReleased(F7);

    Tap(F6);
    EXPECT_EQ(GameStateIndex, 6);
    EXPECT_EQ(CurrentLevel(), "Level 4");
    EXPECT_EQ(CurrentMusic(), "Level4_LevelMusic");  // the skip's own choice of music

    Frame();
    Tap(F1);  // a level that has not ended goes to the score entry too
    EXPECT_EQ(GameStateIndex, 7);
    EXPECT_EQ(game->previousState, 6);
}

TEST_F(GameFlow, F2ShowsTheGodModeSignOverThePlayerWhileItIsOn)
{
    ToFirstLevel();
    Tap(F2);
    ASSERT_TRUE(PlayerController()->godMode);
    EXPECT_EQ(Count("GodMode"), 1u);
    Frames(3);
    EXPECT_EQ(Count("GodMode"), 1u);
    // The sign is placed before the world moves the player in a frame.
    const float x = PlayerTransform()->x_pos;
    const float y = PlayerTransform()->y_pos;
    Frame();
    const Engine::Transform* sign = Engine::ScreenObjects::TransformOf("GodMode");
    EXPECT_EQ(sign->x_pos, x);
    EXPECT_EQ(sign->y_pos, y + 300.0f);
    EXPECT_EQ(sign->z_pos, -1.0f);
    EXPECT_EQ(sign->x_sca, 200.0f);
    EXPECT_EQ(sign->y_sca, 60.0f);
    EXPECT_EQ(Image("GodMode"), "GodModeB.png");
    Tap(F2);
    EXPECT_FALSE(PlayerController()->godMode);
    EXPECT_EQ(Count("GodMode"), 0u);
}

TEST_F(GameFlow, F3StopsTheMusicAndF4PlaysWhateverIsCurrentThen)
{
    ToFirstLevel();
    ASSERT_TRUE(Playing("Level1_LevelMusic"));
    Tap(F3);
    EXPECT_FALSE(Playing("Level1_LevelMusic"));
    EXPECT_EQ(game->musicEnabled, 0);
    Tap(F6);  // the new music is recorded, not played
    EXPECT_EQ(CurrentMusic(), "Level4_LevelMusic");
    EXPECT_FALSE(Playing("Level4_LevelMusic"));
    Tap(F4);
    EXPECT_TRUE(Playing("Level4_LevelMusic"));
    EXPECT_EQ(game->musicEnabled, 1);
    EXPECT_FALSE(Engine::GetSystem<Engine::SoundSystem>()->musicMuted);
}

TEST_F(GameFlow, F11TogglesFullScreenAndTheUpdateOnlyEverBringsItBack)
{
    ASSERT_TRUE(game->graphics.IsFullScreen());
    Tap(F11);
    EXPECT_FALSE(game->graphics.IsFullScreen());
    EXPECT_EQ(game->fullscreen, 0);

    // In a window by choice, the window in front stays a window.
    SendFocus(*game, true);
    Frame();
    EXPECT_FALSE(game->graphics.IsFullScreen());

    Tap(F11);
    ASSERT_TRUE(game->graphics.IsFullScreen());
    // Full screen lost behind the option's back comes back only while the window is in front.
    SendFocus(*game, false);
    game->graphics.SetFullScreen(false);
    Frame();
    EXPECT_FALSE(game->graphics.IsFullScreen());
    SendFocus(*game, true);
    Frame();
    EXPECT_TRUE(game->graphics.IsFullScreen());
}

TEST_F(GameFlow, BackQuoteOpensNothingWhileTheDebugSwitchIsOff)
{
    ToFirstLevel();
    Tap(BackQuote);
    EXPECT_EQ(game->editorActive, 0);
    game->debugEnabled = 1;
    Tap(BackQuote);
    EXPECT_EQ(game->editorActive, 1);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);  // the editor shows the cursor
    Tap(BackQuote);
    EXPECT_EQ(game->editorActive, 0);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(GameFlow, ADeadPlayerShakesTheCameraForAboutASecondThenIsFollowedAgain)
{
    ToFirstLevel();
    Engine::Camera& camera = *Engine::Camera::Instance();
    // The shake is about the eye at the death; every later start keeps that base.
    const float startX = camera.eye[0];
    const float startY = camera.eye[1];
    PlayerController()->isDead = true;
    Frame();
    EXPECT_EQ(camera.followEnabled, 0);
    EXPECT_EQ(camera.shakeMagnitude, 10.0f);

    int frames = 1;
    bool shook = false;
    while (PlayerController()->isDead && frames < 200) {
        Frame();
        ++frames;
        EXPECT_EQ(camera.shakeBase[0], startX);
        EXPECT_EQ(camera.shakeBase[1], startY);
        if (camera.eye[0] != startX || camera.eye[1] != startY)
            shook = true;
        if (!camera.followEnabled) {
            EXPECT_LE(std::abs(camera.eye[0] - startX), 10.001f) << "frame " << frames;
            EXPECT_LE(std::abs(camera.eye[1] - startY), 10.001f) << "frame " << frames;
        }
    }
    EXPECT_TRUE(shook);
    EXPECT_FALSE(PlayerController()->isDead);
    // The first shake ends about a second after it began (the timers count whole milliseconds).
    EXPECT_GE(frames, 60);
    EXPECT_LE(frames, 66);
    EXPECT_EQ(camera.followEnabled, 1);
    EXPECT_EQ(camera.eye[0], PlayerTransform()->x_pos);
    EXPECT_EQ(camera.eye[1], PlayerTransform()->y_pos);

    // The shakes still running are overridden by the follow step and run out.
    Frames(70);
    EXPECT_EQ(camera.followEnabled, 1);
    EXPECT_EQ(camera.eye[0], PlayerTransform()->x_pos);
    EXPECT_EQ(camera.eye[1], PlayerTransform()->y_pos);
}

}  // namespace GameFlowTest

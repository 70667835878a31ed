// Game: the application object. main builds one, runs its frame loop until the game quits
// and lets it go; it owns the window, the renderer and the frame clock, and carries the
// flags of the game flow that the screens, dialogs and editor read and write.
#pragma once

#include "core/FrameClock.h"
#include "graphics/Graphics.h"
#include "graphics/ImageDecoder.h"
#include "platform/Window.h"

#include <cstdint>

class Game {
public:
    // Start-up: the image decoding, Game::Init (logging first), then the window, the renderer
    // and the clock.
    explicit Game(Engine::FrameClock frameClock = Engine::FrameClock::Steady());

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // The frame loop; returns once a quit event has ended a frame.
    void Run();

    // The game flow (Source/game/): start-up, one frame's logic, the screens and the dialogs.
    int Init();     // the game's start-up, before any window or renderer exists
    void Update();  // the game's logic for one frame
    void UpdateScreens();
    bool UpdateConfirmDialog();  // true in the frame the player answers yes
    void UpdatePauseMenu();
    void UpdateOptionsMenu();

    // Made before everything else, so the images decode while the game starts up; the
    // renderer takes them when it starts.
    Render::ImageDecoder startupImages;

    // The game flow's fields, in the order and with the defaults the game flow relies on.
    std::uint8_t levelChangeRequested;
    float splashTimer;  // seconds
    std::uint8_t advanceRequested;
    std::int32_t mainMenuSelection;
    std::int32_t pauseMenuSelection;
    std::int32_t confirmSelection;
    std::int32_t optionsSelection;
    std::uint8_t enterHeld;
    std::uint8_t confirmDialogOpen;
    std::uint8_t howToPlayOpen;
    std::uint8_t optionsOpen;
    std::uint8_t musicEnabled;
    std::uint8_t levelCompleteShown;
    std::int32_t previousState;
    std::int32_t lastLevelIndex;
    float screenTimer;  // seconds
    std::uint8_t debugEnabled;

    Window window;
    Graphics graphics;

    std::int64_t lastFrameTime;   // steady-clock ns at the start of the previous frame
    std::int64_t frameStartTime;  // steady-clock ns at the start of the current frame
    std::uint8_t running;
    std::uint8_t editorActive;
    std::uint8_t paused;
    std::uint8_t fullscreen;

    Engine::FrameClock clock;
    // The editor's part of Game::Update: with true it runs the editor's frame, with false it
    // lets go of what the editor held. Installed at start-up (core/Game.cpp).
    void (*editorFrame)(bool open);

    // The frame cap: what is left of this after a frame is slept away; no catching up.
    static constexpr std::int64_t FrameBudgetNanoseconds = 16'666'666;
};

#include "core/Game.h"

#include "core/FrameTime.h"
#include "core/Log.h"
#include "editor/Editor.h"
#include "graphics/Camera.h"
#include "platform/QuitRequest.h"

#include <utility>

namespace {

void EditorFrame(bool open)
{
    Engine::Editor& editor = Engine::Editor::Instance();
    if (open)
        editor.RunFrame();
    else
        editor.Close();
}

}  // namespace

// Game::Init must run after levelChangeRequested is cleared and before the other fields,
// the window and the renderer are made, so it runs inside the initialiser of splashTimer.
Game::Game(Engine::FrameClock frameClock)
    : startupImages(Graphics::GameImageFolder),
      levelChangeRequested(0),
      splashTimer((static_cast<void>(Init()), 2.5f)),
      advanceRequested(0),
      mainMenuSelection(0),
      pauseMenuSelection(0),
      confirmSelection(0),
      optionsSelection(0),
      enterHeld(0),
      confirmDialogOpen(0),
      howToPlayOpen(0),
      optionsOpen(0),
      musicEnabled(1),
      levelCompleteShown(0),
      previousState(0),
      lastLevelIndex(0),
      screenTimer(2.5f),
      debugEnabled(0),
      window(static_cast<std::int32_t>(Engine::Camera::Instance()->viewWidth),
             static_cast<std::int32_t>(Engine::Camera::Instance()->viewHeight)),
      graphics(window.Handle(), startupImages),
      lastFrameTime(0),
      frameStartTime(0),
      running(1),
      editorActive(0),
      paused(0),
      fullscreen(1),
      clock(std::move(frameClock)),
      editorFrame(&EditorFrame)
{
    // The first frame's delta spans from here, after the window and renderer exist.
    lastFrameTime = clock.now();
}

void Game::Run()
{
    while (running) {
        const std::int64_t now = clock.now();
        frameStartTime = now;
        const double seconds = static_cast<double>(now - lastFrameTime) / 1'000'000'000.0;
        lastFrameTime = now;
        FrameDeltaTime = static_cast<float>(seconds);
        FramesPerSecond = static_cast<float>(1.0 / static_cast<double>(FrameDeltaTime));

        // A quit ends the loop only after this frame has been drawn and the log flushed.
        if (!Window::PumpMessages())
            running = 0;
        graphics.NewUiFrame();
        Update();
        graphics.Render();
        graphics.RenderUi();
        graphics.Present();
        FlushLog();

        const std::int64_t elapsed = clock.now() - frameStartTime;
        if (elapsed < FrameBudgetNanoseconds)
            clock.sleepFor(FrameBudgetNanoseconds - elapsed);
    }
    Platform::QuitRequest::Clear();
}

// One frame of the game at the start of the shipped "Level 4", as the player first sees it:
// the play view (1920 x 1080 world units) on the player, the scenery placed by the parallax
// system, drawn with the game's images and shaders onto a hidden 1280 x 720 window.
#include "BenchWindow.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "gameplay/ParallaxSystem.h"
#include "graphics/Camera.h"
#include "graphics/Graphics.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

void LevelFrame(benchmark::State& state)
{
    BenchWindow bench("vantrel-bench-level-frame");
    spdlog::set_level(spdlog::level::warn);
    std::filesystem::current_path(VANTREL_SOURCE_DIR);  // the level list names its files from here
    // The renderer sizes its target from the camera's view, as the game starts it: 1280 x 720.
    // An earlier run of this benchmark leaves the play view behind, so it is set back first.
    Engine::Camera& camera = *Engine::Camera::Instance();
    camera.viewWidth = 1280.0f;
    camera.viewHeight = 720.0f;
    Graphics graphics(bench.window, BenchWindow::Resources() / "Shaders", BenchWindow::Resources() / "Images");
    if (!graphics.IsReady()) {
        state.SkipWithError("the renderer did not start");
        return;
    }
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadLevel("Level 4");
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    const Engine::Transform* feet =
        player != Engine::InvalidObjectId ? Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(player) : nullptr;
    if (feet == nullptr) {
        state.SkipWithError("\"Level 4\" has no player");
        return;
    }
    camera.followedObjectId = static_cast<std::int32_t>(player);
    camera.eye[0] = feet->x_pos;
    camera.eye[1] = feet->y_pos;
    camera.viewWidth = 1920.0f;
    camera.viewHeight = 1080.0f;
    Engine::GetSystem<Engine::ParallaxSystem>()->Update();
    // Enough frames for every image to get its pixels and its smaller levels.
    for (int frame = 0; frame < 150; ++frame)
        DrawGameFrame(graphics);
    for (auto _ : state)
        DrawGameFrame(graphics);
    state.counters["draw_calls"] = static_cast<double>(graphics.DrawCallCount());
    state.counters["target_width"] = graphics.device.targetWidth;
}

}  // namespace

// Wall time and the CPU of every thread of the process, the rasteriser's included.
BENCHMARK(LevelFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

BENCHMARK_MAIN();

// One frame of the game with nothing in the world: what the renderer costs around the sprite
// pass (clearing, showing the frame on the window, the UI pass and the swap), on a hidden
// 1280 x 720 window whose drawable has the view's size.
#include "BenchWindow.h"
#include "graphics/Graphics.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

namespace {

void EmptyFrame(benchmark::State& state)
{
    BenchWindow bench("vantrel-bench-empty-frame");
    spdlog::set_level(spdlog::level::warn);
    Graphics graphics(bench.window, BenchWindow::Resources() / "Shaders", BenchWindow::Resources() / "Images");
    if (!graphics.IsReady()) {
        state.SkipWithError("the renderer did not start");
        return;
    }
    for (int frame = 0; frame < 10; ++frame)  // the first frames compile the pipeline's shader variants
        DrawGameFrame(graphics);
    for (auto _ : state)
        DrawGameFrame(graphics);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(bench.window, &width, &height);
    state.counters["drawable_width"] = width;
    state.counters["drawable_height"] = height;
}

}  // namespace

// Wall time and the CPU of every thread of the process, the rasteriser's included.
BENCHMARK(EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

BENCHMARK_MAIN();

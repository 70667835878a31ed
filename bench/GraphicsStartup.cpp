// The renderer's start-up with the game's own shaders and images, on a hidden offscreen
// window: context, render target, shaders, meshes and the texture list, then the shutdown.
// The game uploads most images on the frames after its first; here every image is uploaded
// inside the loop, so the figure is the whole of the work. The counter is images per second.
#include "BenchWindow.h"
#include "graphics/Graphics.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

namespace {

void GraphicsStartup(benchmark::State& state)
{
    BenchWindow bench("vantrel-bench-startup");
    std::size_t images = 0;
    for (auto _ : state) {
        Graphics graphics(bench.window, BenchWindow::Resources() / "Shaders", BenchWindow::Resources() / "Images");
        if (!graphics.IsReady()) {
            state.SkipWithError("the renderer did not start");
            break;
        }
        graphics.textures.UploadPending(graphics.textures.records.size());
        glFinish();  // the uploads are done, not merely queued
        images = graphics.textures.records.size();
    }
    state.counters["images"] = static_cast<double>(images);
    state.counters["images_per_second"] =
        benchmark::Counter(static_cast<double>(images), benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK(GraphicsStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

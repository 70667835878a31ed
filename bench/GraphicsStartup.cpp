// The renderer's start-up with the game's own shaders and images, on a hidden offscreen
// window: context, render target, shaders, meshes and the texture list, then the shutdown.
// GraphicsStartup is what the game waits for before its first frame, where the images are
// decoded but wait in the records for their first draw or a later frame; the second one also
// uploads every image, the whole of the work. The counter is images per second.
#include "BenchWindow.h"
#include "graphics/Graphics.h"

#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

namespace {

void StartGraphics(benchmark::State& state, bool uploadEveryImage)
{
    BenchWindow bench("vantrel-bench-startup");
    std::size_t images = 0;
    for (auto _ : state) {
        Graphics graphics(bench.window, BenchWindow::Resources() / "Shaders", BenchWindow::Resources() / "Images");
        if (!graphics.IsReady()) {
            state.SkipWithError("the renderer did not start");
            break;
        }
        if (uploadEveryImage)
            graphics.textures.UploadPending(graphics.textures.records.size());
        glFinish();  // the work is done, not merely queued
        images = graphics.textures.records.size();
    }
    state.counters["images"] = static_cast<double>(images);
    state.counters["images_per_second"] =
        benchmark::Counter(static_cast<double>(images), benchmark::Counter::kIsIterationInvariantRate);
}

void GraphicsStartup(benchmark::State& state) { StartGraphics(state, false); }
void GraphicsStartupWithEveryUpload(benchmark::State& state) { StartGraphics(state, true); }

}  // namespace

BENCHMARK(GraphicsStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(GraphicsStartupWithEveryUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

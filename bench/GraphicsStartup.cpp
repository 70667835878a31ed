// The renderer's start-up with the game's own shaders and images, on a hidden offscreen
// window: context, render target, shaders, meshes and the texture list, then the shutdown.
// The counter is images started up per second.
#include "core/Log.h"
#include "graphics/Graphics.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstdlib>
#include <filesystem>

namespace {

void GraphicsStartup(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "vantrel-bench-startup";
    setenv("HOME", home.c_str(), 1);
    InitializeLogging();

    SDL_Init(SDL_INIT_VIDEO);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_Window* window = SDL_CreateWindow("Project Vantrel", 0, 0, 1280, 720, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    const std::filesystem::path resources = std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources";
    std::size_t images = 0;
    for (auto _ : state) {
        Graphics graphics(window, resources / "Shaders", resources / "Images");
        if (!graphics.IsReady()) {
            state.SkipWithError("the renderer did not start");
            break;
        }
        glFinish();  // the uploads are done, not merely queued
        images = graphics.textures.records.size();
    }
    state.counters["images"] = static_cast<double>(images);
    state.counters["images_per_second"] =
        benchmark::Counter(static_cast<double>(images), benchmark::Counter::kIsIterationInvariantRate);
    SDL_DestroyWindow(window);
    SDL_Quit();
    std::filesystem::remove_all(home);
}

}  // namespace

BENCHMARK(GraphicsStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

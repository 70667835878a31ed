// One rendered frame of a busy level: 8,000 sprites over 100 textures and 2,000 particles,
// offscreen at 1280 x 720 (clear, sprite pass, particle pass, finished on the GPU).
// Objects that share an image come in runs of ids, as a level file's key order puts
// same-named objects side by side; particles come in runs of twenty per emitter image.
#include "BenchWindow.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Graphics.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <stb_image_write.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int SpriteCount = 8000;
constexpr int TextureCount = 100;
constexpr int ParticleCount = 2000;
constexpr int ParticleTextureCount = 10;

std::string TextureName(int index) { return "Tile" + std::to_string(index) + ".png"; }

void WriteImages(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    constexpr int side = 32;
    std::vector<unsigned char> pixels(side * side * 4);
    for (int t = 0; t < TextureCount; ++t) {
        for (int i = 0; i < side * side; ++i) {
            pixels[4 * i + 0] = static_cast<unsigned char>(t * 37);
            pixels[4 * i + 1] = static_cast<unsigned char>(i * 7 + t);
            pixels[4 * i + 2] = static_cast<unsigned char>(255 - t);
            pixels[4 * i + 3] = (i % side < 2 || i / side < 2) ? 0 : 255;  // a transparent rim
        }
        stbi_write_png((folder / TextureName(t)).string().c_str(), side, side, 4, pixels.data(), side * 4);
    }
    stbi_write_png((folder / "debug.png").string().c_str(), side, side, 4, pixels.data(), side * 4);
}

void FillWorld()
{
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    for (int i = 0; i < SpriteCount; ++i) {
        const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject("Tile");
        store.AddComponent<Engine::Transform>(id);
        store.AddComponent<Engine::Sprite>(id);
        Engine::Transform& transform = *store.GetComponent<Engine::Transform>(id);
        transform.x_pos = static_cast<float>((i * 37) % 1280 - 640);
        transform.y_pos = static_cast<float>((i * 53) % 720 - 360);
        transform.z_pos = static_cast<float>(i % 50);
        transform.x_sca = 8.0f;  // 16 x 16 pixels at the start-up view, minified from 32 x 32 images
        transform.y_sca = transform.x_sca;
        transform.rot = 0.001f * static_cast<float>(i);
        Engine::Sprite& sprite = *store.GetComponent<Engine::Sprite>(id);
        sprite.Texture = TextureName(i * TextureCount / SpriteCount);
        sprite.Color[3] = 0.9f;
    }
    auto& particles = Engine::GetSystem<Engine::ParticleSystem>()->particles;
    for (int i = 0; i < ParticleCount; ++i) {
        Engine::Particle particle;
        particle.x = static_cast<float>((i * 71) % 1280 - 640);
        particle.y = static_cast<float>((i * 29) % 720 - 360);
        particle.z = -5.0f;
        particle.scaleX = 4.0f;
        particle.scaleY = 4.0f;
        particle.texture = TextureName((i / 20) % ParticleTextureCount);
        particle.color[3] = 0.5f;
        particle.alive = true;
        particles.push_back(particle);
    }
}

void EmptyWorld()
{
    for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id)
        Engine::GameObjectTable::Instance().RemoveGameObject(id);
    Engine::GetSystem<Engine::ParticleSystem>()->particles.clear();
}

void RenderFrame(benchmark::State& state)
{
    BenchWindow bench("vantrel-bench-render");
    spdlog::set_level(spdlog::level::warn);  // thousands of creation lines are not the frame
    WriteImages(bench.home / "Images");
    {
        Graphics graphics(bench.window, BenchWindow::Resources() / "Shaders", bench.home / "Images");
        if (!graphics.IsReady()) {
            state.SkipWithError("the renderer did not start");
            return;
        }
        FillWorld();
        graphics.Render();  // the first frame compiles the pipeline's shader variants
        glFinish();
        // The CPU of this thread alone, beside the whole process's: what handing the frame to
        // OpenGL costs, apart from the rasteriser's threads.
        timespec start{};
        timespec end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
        for (auto _ : state) {
            graphics.Render();
            glFinish();
        }
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        const double threadMs = static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
                                static_cast<double>(end.tv_nsec - start.tv_nsec) / 1e6;
        state.counters["main_thread_ms"] = threadMs / static_cast<double>(state.iterations());
        state.counters["sprites"] = SpriteCount;
        state.counters["textures"] = TextureCount;
        state.counters["particles"] = ParticleCount;
        state.counters["draw_calls"] = static_cast<double>(graphics.DrawCallCount());
        EmptyWorld();
    }
}

}  // namespace

// Wall time and CPU time per frame; the CPU column counts every thread, the rasteriser's included.
BENCHMARK(RenderFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();

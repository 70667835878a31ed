// Rendered frames of a busy level, frame after frame in one window as the game draws them:
// 1,000 to 16,000 sprites over 100 textures and a quarter as many particles, offscreen at
// 1280 x 720 (clear, sprite pass, particle pass, finished on the GPU). The window and the
// renderer are made once for every size, so what a long-lived context accumulates (driver
// storage, the heap under it) counts as it does in play.
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
#include "platform/FreedPages.h"

#include <SDL.h>
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>
#include <stb_image_write.h>

#include <sys/resource.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int TextureCount = 100;
constexpr int ParticlesPerSprite = 4;  // one particle for every four sprites: 2,000 beside 8,000
constexpr int ParticleTextureCount = 10;
// Frames drawn after the world changes and before timing: the first compiles the pipeline's
// shader variants, the rest let every buffer reach its steady size.
constexpr int SettlingFrames = 20;

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

void FillWorld(int spriteCount)
{
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    for (int i = 0; i < spriteCount; ++i) {
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
        sprite.Texture = TextureName(i * TextureCount / spriteCount);
        sprite.Color[3] = 0.9f;
    }
    auto& particles = Engine::GetSystem<Engine::ParticleSystem>()->particles;
    for (int i = 0; i < spriteCount / ParticlesPerSprite; ++i) {
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

// The one window and renderer of the whole run, made by main before the first benchmark.
struct Session {
    Session() : bench("vantrel-bench-render")
    {
        spdlog::set_level(spdlog::level::warn);  // thousands of creation lines are not the frame
        WriteImages(bench.home / "Images");
        graphics = std::make_unique<Graphics>(bench.window, BenchWindow::Resources() / "Shaders", bench.home / "Images");
    }
    BenchWindow bench;
    std::unique_ptr<Graphics> graphics;
};
Session* session = nullptr;

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long MinorPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

void RenderFrame(benchmark::State& state)
{
    Graphics& graphics = *session->graphics;
    if (!graphics.IsReady()) {
        state.SkipWithError("the renderer did not start");
        return;
    }
    const int spriteCount = static_cast<int>(state.range(0));
    FillWorld(spriteCount);
    for (int frame = 0; frame < SettlingFrames; ++frame)
        graphics.Render();
    glFinish();
    // The CPU of this thread alone, beside the whole process's: what handing the frame to
    // OpenGL costs, apart from the rasteriser's threads. Page faults of a steady frame come
    // from storage that is given back and taken again.
    const double threadStart = ThreadCpuMs();
    const long faultsStart = MinorPageFaults();
    for (auto _ : state) {
        graphics.Render();
        glFinish();
    }
    const auto frames = static_cast<double>(state.iterations());
    state.counters["main_thread_ms"] = (ThreadCpuMs() - threadStart) / frames;
    state.counters["page_faults"] = static_cast<double>(MinorPageFaults() - faultsStart) / frames;
    state.counters["sprites"] = spriteCount;
    state.counters["particles"] = spriteCount / ParticlesPerSprite;
    state.counters["draw_calls"] = static_cast<double>(graphics.DrawCallCount());
    EmptyWorld();
}

}  // namespace

// Wall time and CPU time per frame; the CPU column counts every thread, the rasteriser's included.
BENCHMARK(RenderFrame)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(8000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Platform::KeepFreedPagesBetweenFrames();  // as the game's main does
    {
        Session made;
        session = &made;
        benchmark::RunSpecifiedBenchmarks();
        session = nullptr;
    }
    benchmark::Shutdown();
    return 0;
}

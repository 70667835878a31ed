// One frame of the gameplay systems, in the registry's order, on a generated level of 1,000,
// 4,000 or 16,000 objects (the argument). Per 1,000 objects: a floor of 250 Static tiles, 30
// Dynamic bodies with Controllers (the player among them) walking on it, 20 flying enemies that
// shoot at the player, 8 parallax layers, 4 kill zones, scenery and 40 particle emitters.
// In place of the scripts, every walker is given a falling speed before each frame (as the
// gravity script does, so each lands on the floor every frame) and the queue is emptied after it.
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "gameplay/CollisionResolution.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/ParallaxSystem.h"
#include "gameplay/ParticleSystem.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PlayerController.h"
#include "gameplay/PositionUpdate.h"
#include "gameplay/RandomDraws.h"
#include "gameplay/RangeChecking.h"
#include "graphics/Camera.h"
#include "scripting/ScriptManager.h"

#include <benchmark/benchmark.h>
#include <spdlog/sinks/null_sink.h>
#include <spdlog/spdlog.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

// The mix of a 1,000-object level; a larger scene is the same level made longer, with every kind
// of object scaled in proportion and spread at the same density.
struct SceneSize {
    explicit SceneSize(int objectCount) : objects(objectCount) {}

    int Share(int perThousand) const { return std::max(1, objects * perThousand / 1000); }

    int objects;
    int staticTiles = Share(250);
    int dynamicBodies = Share(30);  // each with a Controller; the player is one of them
    int enemies = Share(20);        // Kinematic flying boxes with a Range
    int parallaxLayers = Share(8);
    int killZones = Share(4);
    int emitters = Share(40);  // the player's trail, one per kill zone, the rest torch-like trails
};

constexpr float TileHalfWidth = 32.0f;
constexpr float TileHalfHeight = 16.0f;
constexpr float BodyHalfSize = 16.0f;

Engine::ComponentStore& Store() { return Engine::ComponentStore::Instance(); }

template <typename T>
T& Add(std::uint32_t id)
{
    Store().AddComponent<T>(id);
    return *Store().GetComponent<T>(id);
}

std::uint32_t Place(const std::string& name, float x, float y)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject(name);
    Engine::Transform& transform = Add<Engine::Transform>(id);
    transform.x_pos = x;
    transform.y_pos = y;
    return id;
}

Engine::RigidBody& Box(std::uint32_t id, std::int32_t bodyType, float halfWidth, float halfHeight)
{
    Engine::RigidBody& body = Add<Engine::RigidBody>(id);
    body.BodyType = bodyType;
    body.left = -halfWidth;
    body.right = halfWidth;
    body.top = halfHeight;
    body.bottom = -halfHeight;
    return body;
}

std::size_t CountRows(std::size_t (*count)(std::uint32_t))
{
    std::size_t total = 0;
    for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id)
        total += count(id);
    return total;
}

std::size_t LiveObjects()
{
    return CountRows([](std::uint32_t id) -> std::size_t {
        return Engine::GameObjectTable::Instance().Get(id) != nullptr ? 1 : 0;
    });
}

void BuildScene(const SceneSize& size)
{
    std::mt19937 layout(20261210);  // a fixed level, the same on every run
    std::uniform_real_distribution<float> spread(-1.0f, 1.0f);
    Engine::EventManager* events = Engine::GetSystem<Engine::EventManager>();
    const float levelWidth = 2.0f * TileHalfWidth * static_cast<float>(size.staticTiles);
    const float floorTop = TileHalfHeight;

    for (int tile = 0; tile < size.staticTiles; ++tile) {
        const float x = TileHalfWidth + 2.0f * TileHalfWidth * static_cast<float>(tile);
        Box(Place("Floor", x, 0.0f), 0, TileHalfWidth, TileHalfHeight);
    }

    // The player stands in the middle; the other walkers spread along the floor, just above it.
    const float playerX = 0.5f * levelWidth;
    for (int body = 0; body < size.dynamicBodies; ++body) {
        const bool isPlayer = body == 0;
        const float share = (static_cast<float>(body) + 0.5f) / static_cast<float>(size.dynamicBodies);
        const float x = isPlayer ? playerX : levelWidth * share;
        const std::uint32_t id = Place(isPlayer ? "Player" : "Walker", x, floorTop + BodyHalfSize + 0.05f);
        Box(id, 1, BodyHalfSize, BodyHalfSize);
        Engine::Controller& controller = Add<Engine::Controller>(id);
        controller.x_vel = (body % 2 == 0) ? 120.0f : -120.0f;
        Add<Engine::Sprite>(id).Texture = isPlayer ? "Player.png" : "Walker.png";
        events->AddEvent(id, "Bottom Collision", "IsGrounded");
        events->AddEvent(id, "OnCollision", "Bump");
        if (isPlayer)
            Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(id);
    }

    // Enemies hover around the player, over a tenth of the level on either side (half of them
    // within their range in the 1,000-object level); their shots are staggered.
    const auto now = std::chrono::steady_clock::now();
    for (int enemy = 0; enemy < size.enemies; ++enemy) {
        const float x = playerX + 0.1f * levelWidth * spread(layout);
        const std::uint32_t id = Place("AirEnemy", x, 300.0f + 100.0f * spread(layout));
        Box(id, 2, 24.0f, 24.0f);
        Add<Engine::Sprite>(id).Texture = "AirEnemy.png";
        Engine::Range& range = Add<Engine::Range>(id);
        range.range = 800.0f;
        range.lastFire = now - std::chrono::milliseconds(100 * enemy);
        events->AddEvent(id, "InRange", "EnemyShoot");
    }

    for (int layer = 0; layer < size.parallaxLayers; ++layer) {
        const std::uint32_t id = Place("Backdrop", 0.0f, 0.0f);
        Engine::Parallax& parallax = Add<Engine::Parallax>(id);
        parallax.Level = 1 + layer % 4;
        parallax.PosX = 1000.0f * static_cast<float>(layer);
        Add<Engine::Sprite>(id).Texture = "Backdrop.png";
    }

    Engine::ParticleSystem* particles = Engine::GetSystem<Engine::ParticleSystem>();
    particles->CreatePlayerTrail(0.0f, 0.0f, 0.0f, 0.0f);
    for (int zone = 0; zone < size.killZones; ++zone) {
        const float share = (static_cast<float>(zone) + 0.5f) / static_cast<float>(size.killZones);
        const std::uint32_t id = Place("Spikes", levelWidth * share, 24.0f);
        Engine::Transform* transform = Store().GetComponent<Engine::Transform>(id);
        transform->x_sca = 64.0f;
        transform->y_sca = 16.0f;
        particles->CreateKillZoneEmitter(static_cast<int>(id));
    }
    for (int torch = 1 + size.killZones; torch < size.emitters; ++torch) {
        Engine::ParticleEmitter emitter;
        const float x = levelWidth * static_cast<float>(torch) / static_cast<float>(size.emitters);
        emitter.origin[0] = x;
        emitter.origin[1] = 200.0f;
        emitter.rate = 50.0f;
        emitter.texture = "Empty.png";
        emitter.lifetime = 1.0f;
        const float particleTemplate[6] = {x, 200.0f, 0.0f, 3.0f, 3.0f, 0.0f};
        std::copy(std::begin(particleTemplate), std::end(particleTemplate), emitter.particleTemplate);
        emitter.init = [](Engine::Particle* particle) {
            static Engine::RandomDraws random;  // one engine for every torch, as a system keeps one
            particle->x += random.Uniform(-2.5f, 2.5f);
            particle->y += random.Uniform(-2.5f, 2.5f);
        };
        emitter.update = Engine::ParticleSystem::ShrinkAndDie;
        particles->AddEmitter(emitter);
    }

    // Scenery fills the level up to the object count.
    for (std::size_t made = LiveObjects(); made < static_cast<std::size_t>(size.objects); ++made) {
        const float x = levelWidth * 0.5f * (1.0f + spread(layout));
        const std::uint32_t id = Place("Scenery", x, 200.0f * (1.0f + spread(layout)));
        Add<Engine::Sprite>(id).Texture = "Bush.png";
    }
}

// Empties the world as a level load does, and the particles too, so that one scene's effects do
// not run on into the next one's figures. Timers still pending check what they remove.
void RemoveScene()
{
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        if (table.Get(id) != nullptr)
            table.RemoveGameObject(id);
    }
    Engine::ParticleSystem* particles = Engine::GetSystem<Engine::ParticleSystem>();
    particles->emitters.clear();
    particles->particles.clear();
}

// The systems that a running frame updates, in registry order, that this frame exercises: the
// gameplay systems and the timer database, which removes bullets after their flight.
std::vector<Engine::System*> GameplaySystemsInRegistryOrder()
{
    return {
        Engine::GetSystem<Engine::PhysicsUpdate>(),   Engine::GetSystem<Engine::CollisionUpdate>(),
        Engine::GetSystem<Engine::CollisionResolution>(), Engine::GetSystem<Engine::PositionUpdate>(),
        Engine::GetSystem<Engine::PlayerController>(), Engine::GetSystem<Engine::TimerDatabase>(),
        Engine::GetSystem<Engine::ParallaxSystem>(),  Engine::GetSystem<Engine::RangeChecking>(),
        Engine::GetSystem<Engine::ParticleSystem>(),
    };
}

void GameplayFrame(benchmark::State& state)
{
    // Each size builds its own scene once; the repetitions of one size go on in that world.
    static int builtFor = 0;
    const SceneSize size(static_cast<int>(state.range(0)));
    if (builtFor != size.objects) {
        RemoveScene();
        BuildScene(size);
        builtFor = size.objects;
    }
    const std::vector<Engine::System*> systems = GameplaySystemsInRegistryOrder();
    std::vector<Engine::Controller*> walkers;
    for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id) {
        const Engine::RigidBody* body = Store().GetComponent<Engine::RigidBody>(id);
        if (body != nullptr && body->BodyType == 1) {
            if (Engine::Controller* controller = Store().GetComponent<Engine::Controller>(id))
                walkers.push_back(controller);
        }
    }
    Engine::ScriptManager* scripts = Engine::GetSystem<Engine::ScriptManager>();
    Engine::ParticleSystem* particles = Engine::GetSystem<Engine::ParticleSystem>();
    FrameDeltaTime = 1.0f / 60.0f;
    FramesPerSecond = 60.0f;

    std::size_t queued = 0;
    for (auto _ : state) {
        for (Engine::Controller* walker : walkers)
            walker->y_vel = -60.0f;
        for (Engine::System* system : systems)
            system->Update();
        queued += scripts->runList.size();
        scripts->runList.clear();
        scripts->runObjectIds.clear();
    }

    std::size_t activeEmitters = 0;
    for (const Engine::ParticleEmitter& emitter : particles->emitters)
        activeEmitters += emitter.active ? 1 : 0;
    std::size_t aliveParticles = 0;
    for (const Engine::Particle& particle : particles->particles)
        aliveParticles += particle.alive ? 1 : 0;
    state.counters["objects"] = static_cast<double>(LiveObjects());
    state.counters["rigid_bodies"] = static_cast<double>(CountRows([](std::uint32_t id) -> std::size_t {
        return Store().GetComponent<Engine::RigidBody>(id) != nullptr ? 1 : 0;
    }));
    state.counters["dynamic_with_controller"] = static_cast<double>(CountRows([](std::uint32_t id) -> std::size_t {
        const Engine::RigidBody* body = Store().GetComponent<Engine::RigidBody>(id);
        const bool moving = body != nullptr && body->BodyType == 1;
        return moving && Store().GetComponent<Engine::Controller>(id) != nullptr ? 1 : 0;
    }));
    state.counters["enemies"] = static_cast<double>(CountRows([](std::uint32_t id) -> std::size_t {
        return Store().GetComponent<Engine::Range>(id) != nullptr ? 1 : 0;
    }));
    state.counters["emitters_active"] = static_cast<double>(activeEmitters);
    state.counters["kill_zone_emitters"] = static_cast<double>(size.killZones);
    state.counters["particles_alive"] = static_cast<double>(aliveParticles);
    state.counters["bullets"] = static_cast<double>(CountRows([](std::uint32_t id) -> std::size_t {
        const GameObject* record = Engine::GameObjectTable::Instance().Get(id);
        return record != nullptr && record->name == "bullet" ? 1 : 0;
    }));
    state.counters["script_calls_per_frame"] =
        benchmark::Counter(static_cast<double>(queued), benchmark::Counter::kAvgIterations);
}

BENCHMARK(GameplayFrame)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    // Nothing reaches the user's files or devices: a throw-away home, no sound or video device,
    // and log lines formatted but dropped (the frame logs the controller's re-bindings).
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "vantrel-bench-home";
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    auto silent = std::make_shared<spdlog::sinks::null_sink_st>();
    spdlog::register_logger(std::make_shared<spdlog::logger>("default", std::move(silent)));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

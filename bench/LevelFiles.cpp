// Loading and saving generated levels of 5,000 and 10,000 entries, log lines included (the
// loader logs every object and component it makes). Targets here: load 5,000 entries under
// 50 ms, and twice the entries in at most 2.2 times that; save under 60 ms.
#include "core/Log.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "graphics/Camera.h"

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Json = nlohmann::json;

Json Wrapped(double value) { return Json::array({value}); }

Json Transform(double x, double y)
{
    return {{"PosX", Wrapped(x)}, {"PosY", Wrapped(y)}, {"PosZ", Wrapped(1.0)},
            {"ScaleX", Wrapped(50.0)}, {"ScaleY", Wrapped(50.0)}, {"Rotation", Wrapped(0.0)}};
}

Json Sprite(const std::string& texture)
{
    return {{"Color", {{"X", 1.0}, {"Y", 0.5}, {"Z", 0.25}, {"W", 1.0}}},
            {"MeshIndex", Json::array({0})}, {"Texture", Json::array({texture})}};
}

Json RigidBody(int bodyType)
{
    return {{"Left", Wrapped(-25.0)}, {"Top", Wrapped(25.0)}, {"Right", Wrapped(25.0)}, {"Bottom", Wrapped(-25.0)},
            {"Weight", Wrapped(1.0)}, {"BodyType", Json::array({bodyType})}, {"ColliderType", Json::array({0})},
            {"Ghost", Json::array({false})}};
}

// A level like the game's, scaled up: a player, mostly static blocks, every tenth entry an
// enemy with a range and events, every fiftieth a parallax layer with an animation.
Json GeneratedLevel(int entryCount)
{
    Json level;
    level["APlayer"] = {{"Handle", "Player"}, {"Transform", Transform(90.0, 900.0)}, {"Sprite", Sprite("Player.png")},
                        {"RigidBody", RigidBody(1)}, {"Controller", {{"Exists", Json::array({true})}}},
                        {"Events", {{"Bottom Collision", Json::array({Json::array({"IsGrounded"})})}}},
                        {"Checkpoint", {{"PosX", Wrapped(90.0)}, {"PosY", Wrapped(900.0)}}}};
    for (int i = 1; i < entryCount; ++i) {
        Json entry = {{"Transform", Transform(i * 25.0, (i % 40) * 25.0)}};
        if (i % 10 == 0) {
            entry["Handle"] = "Enemy";
            entry["Sprite"] = Sprite("Enemy.png");
            entry["RigidBody"] = RigidBody(2);
            entry["Range"] = {{"Range", Wrapped(800.0)}, {"BulletSpeed", Wrapped(1000.0)}};
            entry["Events"] = {{"OnCollision", Json::array({Json::array({"Hurt"})})},
                               {"InRange", Json::array({Json::array({"Shoot"})})}};
        } else if (i % 50 == 1) {
            entry["Handle"] = "Layer";
            entry["Sprite"] = Sprite("Background.png");
            entry["Parallax"] = {{"PosX", Wrapped(0.0)}, {"PosY", Wrapped(0.0)}, {"Level", Json::array({3})}};
            entry["Animation"] = {{"Handle", Json::array({"Clouds"})}};
        } else {
            entry["Handle"] = "Block";
            entry["Sprite"] = Sprite("Ground.png");
            entry["RigidBody"] = RigidBody(0);
        }
        char key[32];
        std::snprintf(key, sizeof key, "Entry %05d", i);
        level[key] = std::move(entry);
    }
    return level;
}

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        return std::filesystem::path(made != nullptr ? made : ".");
    }();
    return folder;
}

// The benchmark's own level list and log, away from the real home folder.
void Prepare()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    setenv("HOME", Folder().c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    InitializeLogging();
    Engine::SystemManager::Instance();  // the registry's start-up is not part of a load
    Engine::Camera::Instance()->followedObjectId = 0;
}

// The level of that many entries, written and listed on first use.
std::string GeneratedLevelName(int entryCount)
{
    Prepare();
    const std::string name = "Generated " + std::to_string(entryCount);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    if (levels.FindLevelIndex(name))
        return name;
    const std::filesystem::path file = Folder() / (name + ".json");
    std::ofstream(file) << GeneratedLevel(entryCount).dump(4);
    levels.levelNames.push_back(name);
    levels.levelPaths.push_back(file.string());
    return name;
}

void LoadLevel(benchmark::State& state)
{
    const int entryCount = static_cast<int>(state.range(0));
    const std::string name = GeneratedLevelName(entryCount);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    for (auto _ : state) {
        levels.LoadLevel(name);
        FlushLog();
    }
    state.counters["entries"] = entryCount;
}

void SaveLevel(benchmark::State& state)
{
    const int entryCount = static_cast<int>(state.range(0));
    const std::string name = GeneratedLevelName(entryCount);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel(name);
    for (auto _ : state)
        levels.SaveLevel();
    state.counters["entries"] = entryCount;
}

// What every editor frame costs the level's keeping of edits, with nothing edited.
void KeepEditsOfAnEditorFrame(benchmark::State& state)
{
    const int entryCount = static_cast<int>(state.range(0));
    const std::string name = GeneratedLevelName(entryCount);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel(name);
    levels.PlayStopped();
    for (auto _ : state)
        levels.KeepEdits();
    state.counters["entries"] = entryCount;
}

BENCHMARK(LoadLevel)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(SaveLevel)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(KeepEditsOfAnEditorFrame)->Arg(5000)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(Folder(), ignored);
    return 0;
}

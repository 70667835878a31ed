// Script dispatch: the script manager's update running 10,000 queued calls of a small
// script, beside a bare loop of protected calls of the same Lua function. Both report
// calls per second as items per second; the manager should keep at least half the bare rate.
#include "scripting/ScriptManager.h"

#include <benchmark/benchmark.h>
#include <spdlog/spdlog.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr int CallsPerUpdate = 10000;

constexpr const char* SmallScript = R"(calls = 0
function main()
    calls = calls + GameObject
end
)";

// A game folder with one script, made once for the whole run; the process works inside it.
class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        root = pattern;
        std::filesystem::create_directories(root / "Resources" / "Scripts");
        std::ofstream(root / "Resources" / "Scripts" / "Tick.lua") << SmallScript;
        std::ofstream(root / "Resources" / "Scripts" / "Tock.lua") << SmallScript;
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root);
    }
    ~BenchFolder()
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
    }

private:
    std::filesystem::path root;
    std::filesystem::path previous;
};

Engine::ScriptManager& StartedManager()
{
    static BenchFolder folder;
    static Engine::ScriptManager manager;
    static const bool started = [] {
        spdlog::set_level(spdlog::level::warn);  // the loading lines are not part of the measurement
        manager.Init();
        return true;
    }();
    (void)started;
    return manager;
}

void ScriptManagerUpdate(benchmark::State& state)
{
    Engine::ScriptManager& manager = StartedManager();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < CallsPerUpdate; ++i)
            manager.Queue("Tick", static_cast<std::uint32_t>(i & 1));
        state.ResumeTiming();
        manager.Update();
    }
    state.SetItemsProcessed(state.iterations() * CallsPerUpdate);
}
BENCHMARK(ScriptManagerUpdate);

// Two scripts taking turns: every call looks its script up again.
void ScriptManagerUpdateAlternating(benchmark::State& state)
{
    Engine::ScriptManager& manager = StartedManager();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < CallsPerUpdate; ++i)
            manager.Queue((i & 1) != 0 ? "Tick" : "Tock", static_cast<std::uint32_t>(i & 1));
        state.ResumeTiming();
        manager.Update();
    }
    state.SetItemsProcessed(state.iterations() * CallsPerUpdate);
}
BENCHMARK(ScriptManagerUpdateAlternating);

// The same function, fetched once, called by protected calls and nothing else.
void BareProtectedCalls(benchmark::State& state)
{
    Engine::ScriptManager& manager = StartedManager();
    lua_State* L = manager.lua.Raw();
    manager.scripts.at("Tick").SetInteger("GameObject", 1);
    manager.scripts.at("Tick").Push();
    lua_getfield(L, -1, "main");
    const int function = luaL_ref(L, LUA_REGISTRYINDEX);
    lua_pop(L, 1);
    for (auto _ : state) {
        for (int i = 0; i < CallsPerUpdate; ++i) {
            lua_rawgeti(L, LUA_REGISTRYINDEX, function);
            if (lua_pcall(L, 0, 0, 0) != LUA_OK)
                lua_pop(L, 1);
        }
    }
    luaL_unref(L, LUA_REGISTRYINDEX, function);
    state.SetItemsProcessed(state.iterations() * CallsPerUpdate);
}
BENCHMARK(BareProtectedCalls);

}  // namespace

BENCHMARK_MAIN();

// Script dispatch: the script manager's update running 10,000 queued calls of a small
// script, beside a bare loop of protected calls of the same Lua function. Both report
// calls per second as items per second; the manager should keep at least half the bare rate.
// A second pair moves a Transform: a script reading and writing x_pos through GetTransform,
// queued on the manager, beside the same script over a hand-written C API binding.
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"
#include "scripting/ScriptManager.h"

#include <benchmark/benchmark.h>
#include <spdlog/spdlog.h>

#include <cstdlib>
#include <cstring>
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

constexpr const char* MoveScript = R"(function main()
    local transform = GetTransform(GameObject)
    transform.x_pos = transform.x_pos + 1
end
)";

// A game folder with the scripts, made once for the whole run; the process works inside it.
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
        std::ofstream(root / "Resources" / "Scripts" / "Move.lua") << MoveScript;
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
        const std::uint32_t mover = Engine::GameObjectTable::Instance().CreateGameObject("Mover");
        Engine::ComponentStore::Instance().AddComponent<Engine::Transform>(mover);
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

// The Transform script through the engine's binding: GetTransform, then a read and a write.
void TransformThroughGetTransform(benchmark::State& state)
{
    Engine::ScriptManager& manager = StartedManager();
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < CallsPerUpdate; ++i)
            manager.Queue("Move", 0);
        state.ResumeTiming();
        manager.Update();
    }
    benchmark::DoNotOptimize(Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(0)->x_pos);
    state.SetItemsProcessed(state.iterations() * CallsPerUpdate);
}
BENCHMARK(TransformThroughGetTransform);

// The bare C API version: a userdata holding the object id, one metatable whose __index and
// __newindex know only x_pos, and the same component lookup on every access.
namespace Bare {

Engine::Transform* Live(lua_State* L)
{
    const auto id = *static_cast<const std::uint32_t*>(luaL_checkudata(L, 1, "BareTransform"));
    Engine::Transform* transform = Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id);
    if (transform == nullptr)
        luaL_error(L, "no Transform");
    return transform;
}

int Index(lua_State* L)
{
    Engine::Transform* transform = Live(L);
    if (std::strcmp(luaL_checkstring(L, 2), "x_pos") != 0)
        return luaL_error(L, "unknown field");
    lua_pushnumber(L, transform->x_pos);
    return 1;
}

int NewIndex(lua_State* L)
{
    Engine::Transform* transform = Live(L);
    if (std::strcmp(luaL_checkstring(L, 2), "x_pos") != 0)
        return luaL_error(L, "unknown field");
    transform->x_pos = static_cast<float>(luaL_checknumber(L, 3));
    return 0;
}

int GetTransform(lua_State* L)
{
    const auto id = static_cast<std::uint32_t>(luaL_checkinteger(L, 1));
    if (Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id) == nullptr) {
        lua_pushnil(L);
        return 1;
    }
    *static_cast<std::uint32_t*>(lua_newuserdata(L, sizeof(std::uint32_t))) = id;
    luaL_setmetatable(L, "BareTransform");
    return 1;
}

}  // namespace Bare

void TransformThroughBareCApi(benchmark::State& state)
{
    StartedManager();  // the game folder and the object with its Transform
    lua_State* L = luaL_newstate();
    luaL_openlibs(L);
    luaL_newmetatable(L, "BareTransform");
    lua_pushcfunction(L, &Bare::Index);
    lua_setfield(L, -2, "__index");
    lua_pushcfunction(L, &Bare::NewIndex);
    lua_setfield(L, -2, "__newindex");
    lua_pop(L, 1);
    lua_register(L, "GetTransform", &Bare::GetTransform);
    lua_pushinteger(L, 0);
    lua_setglobal(L, "GameObject");
    if (luaL_dostring(L, MoveScript) != LUA_OK) {
        state.SkipWithError(lua_tostring(L, -1));
        lua_close(L);
        return;
    }
    lua_getglobal(L, "main");
    const int function = luaL_ref(L, LUA_REGISTRYINDEX);
    for (auto _ : state) {
        for (int i = 0; i < CallsPerUpdate; ++i) {
            lua_rawgeti(L, LUA_REGISTRYINDEX, function);
            if (lua_pcall(L, 0, 0, 0) != LUA_OK)
                lua_pop(L, 1);
        }
    }
    lua_close(L);
    state.SetItemsProcessed(state.iterations() * CallsPerUpdate);
}
BENCHMARK(TransformThroughBareCApi);

}  // namespace

BENCHMARK_MAIN();

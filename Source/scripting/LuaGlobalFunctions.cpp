#include "scripting/LuaGlobalFunctions.h"

#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/Game.h"
#include "core/GameObjectTable.h"
#include "core/GameStateIndex.h"
#include "core/InputManager.h"
#include "core/Log.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelOrder.h"
#include "gameplay/HeatMapTrail.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"
#include "scripting/EnemyRespawn.h"
#include "scripting/LuaFunction.h"
#include "scripting/LuaObjectId.h"
#include "scripting/LuaTypes.h"
#include "scripting/ParticleBursts.h"
#include "scripting/ScriptCall.h"
#include "scripting/ScriptManager.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace Engine {

namespace {

using KeyMap = std::map<std::uint8_t, InputManager::KeyFunction>;

// A key is named by the first character of a string, as a virtual-key code ("J", " " for
// Space). An empty string names no key: the call is logged and does nothing.
std::optional<std::uint8_t> KeyCode(const char* function, const std::string& key)
{
    if (key.empty()) {
        LogWarn("{}: an empty string names no key; nothing done", function);
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(key[0]);
}

// The object of an id that a function acts on, or none (logged) for an id outside the table.
std::optional<std::uint32_t> TargetObject(const char* function, const LuaObjectId& id)
{
    if (!id.InTable()) {
        LogWarn("{}: no game object can have the id {}; nothing done", function, id.value);
        return std::nullopt;
    }
    return id.Slot();
}

// Seconds to whole milliseconds in single precision, truncated toward zero. NaN counts as
// 0 and the infinities as the longest time a timer can hold.
std::int64_t TimerMilliseconds(const char* function, float seconds)
{
    const float milliseconds = seconds * 1000.0f;
    if (std::isnan(milliseconds)) {
        LogWarn("{}: the time is not a number; the timer runs out at its first update", function);
        return 0;
    }
    constexpr float Longest = 9.2e18f;  // just below the largest 64-bit integer
    return static_cast<std::int64_t>(std::clamp(milliseconds, -Longest, Longest));
}

// A script may not start a timer once the timer database holds its ceiling of live ones: the
// refusal is logged with the script's name, once until the timers are under the ceiling
// again (a bomb asks tens of thousands of times a frame), and the asking call fails like any
// bad call.
void RefuseTimerWhenFull(const ScriptManager& scripts, const char* function)
{
    static bool refusing = false;
    if (!GetSystem<TimerDatabase>()->Full()) {
        refusing = false;
        return;
    }
    if (!std::exchange(refusing, true))
        LogError("{}: script {} asked for a timer while {} are live; refused", function, scripts.RunningScript(),
                 TimerDatabase::MaxLiveTimers);
    throw std::length_error(std::to_string(TimerDatabase::MaxLiveTimers) + " timers are live already");
}

// Delay and RunFor: the timer remembers the script that started it, to name it when its
// function fails. A timer's function dies with its Lua state: after a reload the timer
// still runs out but calls nothing.
template <typename T>
TimerHandle StartScriptTimer(ScriptManager& scripts, const char* function, float seconds, LuaFunction callback)
{
    RefuseTimerWhenFull(scripts, function);
    constexpr bool Repeating = std::is_same_v<T, RepeatFunctionTimer>;
    return AddTimer<T>(TimerMilliseconds(function, seconds),
                       [&scripts, function, callback = std::move(callback), owner = scripts.RunningScript()] {
                           scripts.RunTimerFunction(owner, function, callback, Repeating);
                       });
}

Sprite* SpriteOf(const LuaObjectId& id) { return ComponentStore::Instance().GetComponent<Sprite>(id.Slot()); }

void PlayWinStinger()
{
    const LevelInfo* level = LevelOfState(GameStateIndex);
    if (level == nullptr)
        return;
    SoundSystem* sound = GetSystem<SoundSystem>();
    sound->StopEvent(level->music);
    sound->PlayEvent(level->winStinger);
}

void ChangeLevel()
{
    Game* game = Camera::Instance()->game;
    if (game == nullptr) {
        LogError("ChangeLevel: there is no running game to end the level of");
        return;
    }
    game->levelChangeRequested = 1;
}

void UnRegisterEvent(const std::string& handler, const std::string& event, const LuaObjectId& id)
{
    const std::optional<std::uint32_t> object = TargetObject("UnRegisterEvent", id);
    if (!object)
        return;
    try {
        GetSystem<EventManager>()->UnRegisterEvent(*object, event, handler);
    } catch (const std::out_of_range&) {
        LogError("UnRegisterEvent: game object {} has no event \"{}\" to remove \"{}\" from", *object, event, handler);
    }
}

// The pose script calls it every frame with a name that mostly stays the same.
void ChangeSprite(const LuaObjectId& id, std::string_view texture)
{
    if (!TargetObject("ChangeSprite", id))
        return;
    try {
        Sprite* sprite = SpriteOf(id);
        if (sprite != nullptr && sprite->Texture != texture)
            sprite->Texture = texture;
    } catch (const std::exception& error) {
        LogError("ChangeSprite: {}", error.what());
    }
}

void SetSpriteAlpha(const char* function, const LuaObjectId& id, float alpha)
{
    if (!TargetObject(function, id))
        return;
    if (Sprite* sprite = SpriteOf(id))
        sprite->Color[3] = alpha;
}

template <typename T>
void RegisterGetter(LuaState& lua, const char* name)
{
    lua.SetFunction(name, [](LuaObjectId id) { return LuaComponent<T>{id.Slot()}; });
}

using Registration = void (InputManager::*)(std::uint8_t, InputManager::KeyFunction);

void RegisterBinding(LuaState& lua, ScriptManager& scripts, const char* name, Registration registration)
{
    lua.SetFunction(name, [&scripts, name, registration](const std::string& key, const std::string& handle) {
        const std::optional<std::uint8_t> code = KeyCode(name, key);
        if (!code)
            return;
        (InputManager::Instance().*registration)(*code, ScriptCall{&scripts, handle});
    });
}

void RegisterUnbinding(LuaState& lua, const char* name, KeyMap InputManager::*bindings)
{
    lua.SetFunction(name, [name, bindings](const std::string& key) {
        if (const std::optional<std::uint8_t> code = KeyCode(name, key))
            (InputManager::Instance().*bindings).erase(*code);
    });
}

}  // namespace

void RegisterGlobalFunctions(LuaState& lua, ScriptManager& scripts)
{
    lua.SetFunction("PlaySoundEvent", [](const std::string& name) {
        GetSystem<SoundSystem>()->PlayEvent(name);
        LogInfo("Playing sound event {}", name);
    });
    lua.SetFunction("Delay", [&scripts](float seconds, LuaFunction function) {
        return StartScriptTimer<DelayCallTimer>(scripts, "Delay", seconds, std::move(function));
    });
    lua.SetFunction("RunFor", [&scripts](float seconds, LuaFunction function) {
        return StartScriptTimer<RepeatFunctionTimer>(scripts, "RunFor", seconds, std::move(function));
    });
    lua.SetFunction("StopTimer", [](TimerHandle handle) {
        TimerDatabase* timers = GetSystem<TimerDatabase>();
        if (handle.id >= timers->timers.size()) {
            LogError("Timer id is out of bounds! (Did you just throw me garbage values?! b-baka!)");
            return;
        }
        timers->Stop(handle);
    });
    lua.SetFunction("GetPlayerID", [] { return Camera::Instance()->followedObjectId; });
    lua.SetFunction("GetGameObject", [](const std::string& name) {
        const std::uint32_t id = GameObjectTable::Instance().FindGameObject(name);
        if (id == InvalidObjectId) {
            LogError("Tried to find invalid object: {}", name);
            return std::int32_t{-1};
        }
        return static_cast<std::int32_t>(id);
    });
    lua.SetFunction("Log", [](const std::string& message) { LogDebug(message); });
    lua.SetFunction("IsKeyPressed", [](const std::string& key) {
        const std::optional<std::uint8_t> code = KeyCode("IsKeyPressed", key);
        return code && InputManager::Instance().held.contains(*code);
    });
    RegisterGetter<Controller>(lua, "GetController");
    RegisterGetter<RigidBody>(lua, "GetRigidBody");
    RegisterGetter<Sprite>(lua, "GetSprite");
    RegisterGetter<Transform>(lua, "GetTransform");
    RegisterGetter<Checkpoint>(lua, "GetCheckpoint");
    RegisterBinding(lua, scripts, "BindKeyDown", &InputManager::RegisterKeyDownFunction);
    RegisterBinding(lua, scripts, "BindKeyPressed", &InputManager::RegisterKeyPressedFunction);
    RegisterBinding(lua, scripts, "BindKeyUp", &InputManager::RegisterKeyUpFunction);
    RegisterUnbinding(lua, "UnbindKeyDown", &InputManager::keyDown);
    RegisterUnbinding(lua, "UnbindKeyPressed", &InputManager::keyPressed);
    RegisterUnbinding(lua, "UnbindKeyUp", &InputManager::keyUp);
    lua.SetFunction("UnregisterEveryFrame", [&scripts](const std::string& handle) { scripts.UnregisterEveryFrame(handle); });
    lua.SetFunction("RegisterEveryFrame", [&scripts](const std::string& handle) { scripts.RegisterEveryFrame(handle); });
    lua.SetFunction("Destroy", [](LuaObjectId id) {
        if (const std::optional<std::uint32_t> object = TargetObject("Destroy", id))
            GameObjectTable::Instance().RemoveGameObject(*object);
    });
    lua.SetFunction("ChangeLevel", &ChangeLevel);
    lua.SetFunction("UnRegisterEvent", &UnRegisterEvent);
    lua.SetFunction("ChangeSprite", &ChangeSprite);
    lua.SetFunction("SpawnHeatMap", [] { SpawnHeatMap(); });
    lua.SetFunction("ShowHeatMap", [] { ShowHeatMap(); });
    // A burst's emitter is removed by a timer of its own.
    lua.SetFunction("ParticleBurst", [&scripts](float x, float y) {
        RefuseTimerWhenFull(scripts, "ParticleBurst");
        StartParticleBurst(SparkBurst, x, y);
    });
    lua.SetFunction("ParticleDeathBurst", [&scripts](float x, float y) {
        RefuseTimerWhenFull(scripts, "ParticleDeathBurst");
        StartParticleBurst(DeathBurst, x, y);
    });
    lua.SetFunction("PlayerTrail", [](float r, float g, float b) {
        GetSystem<ParticleSystem>()->CreatePlayerTrail(r, g, b, 1.0f);
    });
    lua.SetFunction("RespawnEnemies", [] { RespawnEnemies(); });
    lua.SetFunction("MakeInvisible", [](LuaObjectId id) { SetSpriteAlpha("MakeInvisible", id, 0.0f); });
    lua.SetFunction("ShowObject", [](LuaObjectId id) { SetSpriteAlpha("ShowObject", id, 1.0f); });
    lua.SetFunction("PlayWinStinger", &PlayWinStinger);
}

}  // namespace Engine

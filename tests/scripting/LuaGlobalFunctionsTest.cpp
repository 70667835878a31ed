// The Lua interface as scripts meet it: fixture scripts run through the script manager's
// queue against the engine's own services (components, objects, timers, keys, events,
// sprites, sound, the level flow), wrong arguments, ids outside the table and reloads.
#include "GameWorld.h"

#include "TestSupport.h"

#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/EventSet.h"
#include "core/Game.h"
#include "core/GameObjectTable.h"
#include "core/HeatMap.h"
#include "core/InputManager.h"
#include "core/RigidBody.h"
#include "core/SoundSystem.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "game/GameState.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"
#include "platform/KeyMap.h"
#include "platform/StudioEventInstance.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using Engine::ComponentStore;
using Engine::GameObjectTable;
using ScriptTest::GameWorld;
using ScriptTest::Reports;
using spdlog::level::debug;
using spdlog::level::err;
using spdlog::level::info;
using spdlog::level::warn;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// An object with every component the getters reach.
std::uint32_t FullObject(const std::string& name)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(name);
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(id);
    store.AddComponent<Engine::Sprite>(id);
    store.AddComponent<Engine::RigidBody>(id);
    store.AddComponent<Engine::Controller>(id);
    store.AddComponent<Engine::Checkpoint>(id);
    return id;
}

template <typename T>
T* Get(std::uint32_t id)
{
    return ComponentStore::Instance().GetComponent<T>(id);
}

}  // namespace

TEST(LuaGlobalFunctions, ComponentWritesShowAtOnceInTheGameAndTheScript)
{
    GameWorld world({"interface"});
    const std::uint32_t id = FullObject("Player");
    world.Run("Components", id);

    EXPECT_THAT(Reports(), ElementsAre("5 -12.5 true 40 300 nil"));
    EXPECT_EQ(Get<Engine::Transform>(id)->x_pos, 5.0f);
    EXPECT_EQ(Get<Engine::Controller>(id)->x_vel, -12.5f);
    EXPECT_TRUE(Get<Engine::Controller>(id)->isDead);
    EXPECT_EQ(Get<Engine::RigidBody>(id)->top, 40.0f);
    EXPECT_EQ(Get<Engine::Checkpoint>(id)->x, 300.0f);
    // The timer field holds the handle that Delay gave: the slot of a live timer.
    const Engine::TimerHandle handle = Get<Engine::Controller>(id)->airSkillTimer;
    ASSERT_LT(handle.id, world.timers.timers.size());
    EXPECT_TRUE(world.timers.timers[handle.id]->active);
    EXPECT_EQ(world.timers.timers[handle.id]->revision, handle.revision);
}

TEST(LuaGlobalFunctions, GettersGiveNilForComponentsTheObjectLacks)
{
    GameWorld world({"interface"});
    const std::uint32_t full = FullObject("Full");
    const std::uint32_t placed = GameObjectTable::Instance().CreateGameObject("Placed");
    ComponentStore::Instance().AddComponent<Engine::Transform>(placed);
    struct Case {
        std::uint32_t id;
        const char* types;  // Controller, RigidBody, Sprite, Transform, Checkpoint
    };
    const std::vector<Case> cases = {
        {full, "userdata userdata userdata userdata userdata"},
        {placed, "nil nil nil userdata nil"},
        {placed + 1, "nil nil nil nil nil"},  // a free slot
        {Engine::MaxGameObjects - 1, "nil nil nil nil nil"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.id);
        Reports().clear();
        world.Run("Getters", test.id);
        EXPECT_THAT(Reports(), ElementsAre(test.types));
    }
}

TEST(LuaGlobalFunctions, IdsOutsideTheTableFindNothingAndChangeNothing)
{
    GameWorld world({"interface"});
    const std::uint32_t id = FullObject("Target");
    Get<Engine::Sprite>(id)->Color[3] = 0.5f;
    Get<Engine::Sprite>(id)->Texture = "Target.png";
    Engine::GetSystem<Engine::EventManager>()->AddEvent(id, "OnCollision", "Handler");

    world.Run("OutOfRange", id);

    EXPECT_THAT(Reports(), ElementsAre("-1 found 0", "-16384 found 0", "16384 found 0", "4294967296 found 0",
                                       "-9223372036854775808 found 0", "9223372036854775807 found 0"));
    ASSERT_NE(GameObjectTable::Instance().Get(id), nullptr);
    EXPECT_NE(Get<Engine::Transform>(id), nullptr);
    EXPECT_EQ(Get<Engine::Sprite>(id)->Color[3], 0.5f);
    EXPECT_EQ(Get<Engine::Sprite>(id)->Texture, "Target.png");
    EXPECT_THAT(Get<Engine::EventSet>(id)->events.at("OnCollision"), ElementsAre("Handler"));
    EXPECT_TRUE(world.folder.Logged(warn, "Destroy: no game object can have the id -1; nothing done"));
    EXPECT_TRUE(world.folder.Logged(warn, "MakeInvisible: no game object can have the id 4294967296; nothing done"));
}

TEST(LuaGlobalFunctions, GetGameObjectGivesTheLowestIdOrMinusOneAndGetPlayerIdTheFollowedObject)
{
    GameWorld world({"interface"});
    GameObjectTable& table = GameObjectTable::Instance();
    table.CreateGameObject("Floor");
    const std::uint32_t twin = table.CreateGameObject("Twin");
    table.CreateGameObject("Twin");
    Engine::Camera::Instance()->followedObjectId = 7;

    world.Run("Find");
    EXPECT_THAT(Reports(), ElementsAre(std::to_string(twin), "-1", "7"));
    EXPECT_EQ(world.folder.Count(err, "Tried to find invalid object: Nobody"), 1);
}

TEST(LuaGlobalFunctions, TimersFireStopAndRecogniseReusedSlots)
{
    GameWorld world({"interface"});
    world.Run("Timers", 1);
    world.AdvanceTimers(51);
    EXPECT_THAT(Reports(), ElementsAre("first fired"));

    // The second delay takes the first one's slot with the next revision; the stale handle
    // stops nothing.
    Reports().clear();
    world.Run("Timers", 2);
    world.AdvanceTimers(51);
    EXPECT_THAT(Reports(), ElementsAre("true 1", "second fired"));

    Reports().clear();
    world.Run("Timers", 3);
    world.AdvanceTimers(51);
    EXPECT_THAT(Reports(), IsEmpty());

    world.Run("Timers", 4);
    EXPECT_THAT(Reports(), ElementsAre("went on"));
    EXPECT_TRUE(world.folder.Logged(err, "Timer id is out of bounds! (Did you just throw me garbage values?! b-baka!)"));

    // 100 ms at 16 ms per update: remaining 84, 68, ..., 4, then -12 ends it.
    Reports().clear();
    world.Run("Timers", 5);
    for (int update = 0; update < 10; ++update)
        world.AdvanceTimers(16);
    EXPECT_EQ(Reports().size(), 7u);

    Reports().clear();
    world.Run("Timers", 6);
    world.AdvanceTimers(16);
    EXPECT_THAT(Reports(), IsEmpty());
    world.AdvanceTimers(1);
    EXPECT_THAT(Reports(), ElementsAre("short fired"));

    // The error stops the repeating timer, and the scripts' next update logs it under the
    // script's name.
    Reports().clear();
    world.Run("Timers", 7);
    world.AdvanceTimers(16);
    world.AdvanceTimers(16);
    world.scripts.Update();
    EXPECT_THAT(Reports(), ElementsAre("before error"));
    EXPECT_TRUE(world.folder.Logged(err, "Script Timers failed in a RunFor function: Resources/Scripts/Timers.lua:35: "
                                         "timer gives up (the timer is stopped)"));
    world.AdvanceTimers(50);  // its time runs out

    // A negative time has run out already; NaN counts as 0 ms; an endless one never fires.
    Reports().clear();
    world.Run("Timers", 8);
    EXPECT_TRUE(world.folder.Logged(warn, "Delay: the time is not a number; the timer runs out at its first update"));
    world.AdvanceTimers(0);
    EXPECT_THAT(Reports(), ElementsAre("negative fired"));
    world.AdvanceTimers(1);
    world.AdvanceTimers(1'000'000);
    EXPECT_THAT(Reports(), ElementsAre("negative fired", "nan fired"));
}

TEST(LuaGlobalFunctions, TimersOfAReplacedLuaStateCallNothing)
{
    GameWorld world({"interface"});
    world.Run("Reload");
    world.ReloadAll();
    for (int update = 0; update < 5; ++update)
        world.AdvanceTimers(16);
    EXPECT_THAT(Reports(), IsEmpty());

    // The new state's own timers run as usual.
    world.Run("Reload");
    world.AdvanceTimers(16);
    EXPECT_THAT(Reports(), ElementsAre("delay ran", "repeat ran"));
}

TEST(LuaGlobalFunctions, TimerFunctionThatNeverEndsEndsAtTheBudget)
{
    GameWorld world({"interface"});
    world.Run("EndlessTimer");
    world.AdvanceTimers(2);
    EXPECT_THAT(Reports(), ElementsAre("next timer"));
}

TEST(LuaGlobalFunctions, KeyBindingsQueueTheirScriptAndNeverReplaceABinding)
{
    GameWorld world({"interface"});
    Engine::InputManager& input = Engine::InputManager::Instance();
    world.Run("Keys", 1);
    EXPECT_TRUE(world.folder.Logged(warn, "BindKeyPressed: an empty string names no key; nothing done"));
    EXPECT_FALSE(input.keyPressed.contains(0));

    const auto queuedBy = [&](auto press) {
        world.scripts.runList.clear();
        world.scripts.runObjectIds.clear();
        press();
        return world.scripts.runList;
    };
    // The player controller bound J to "Jump" when the systems started.
    EXPECT_THAT(queuedBy([&] { input.KeyPressed('J'); }), ElementsAre("Jump"));
    EXPECT_THAT(queuedBy([&] { input.KeyPressed('Q'); }), ElementsAre("Pressed"));
    EXPECT_THAT(world.scripts.runObjectIds, ElementsAre(0u));
    EXPECT_THAT(queuedBy([&] { input.KeyPressed('E'); }), IsEmpty());
    EXPECT_THAT(queuedBy([&] { input.RunKeyDownFunctions(); }), ElementsAre("Held"));

    world.Run("Keys", 2);
    EXPECT_THAT(Reports(), ElementsAre("true false false"));
    EXPECT_THAT(queuedBy([&] { input.KeyReleased('R'); }), ElementsAre("Released"));

    world.Run("Keys", 3);
    EXPECT_FALSE(input.keyPressed.contains('Q'));
    EXPECT_FALSE(input.keyDown.contains('E'));
    EXPECT_FALSE(input.keyUp.contains('R'));
    EXPECT_TRUE(input.keyPressed.contains('J'));
    input.KeyReleased('Q');
    EXPECT_THAT(queuedBy([&] { input.KeyPressed('Q'); }), IsEmpty());
}

TEST(LuaGlobalFunctions, LowerCaseLetterBindingFiresFromTheKeypad)
{
    GameWorld world({"interface"});
    world.Run("Keys", 4);
    world.scripts.runList.clear();
    world.scripts.runObjectIds.clear();
    Engine::InputManager::Instance().KeyPressed(Platform::VirtualKeyFromSdl(SDLK_KP_1));
    EXPECT_THAT(world.scripts.runList, ElementsAre("Keypad"));
}

TEST(LuaGlobalFunctions, EveryFrameListTakesAHandleOnceAndLetsItGo)
{
    GameWorld world({"interface"});
    world.Run("EveryFrame", 1);
    EXPECT_THAT(world.scripts.everyFrame, ElementsAre("Tick"));
    // The refill at the end of that update put it on the queue, once.
    EXPECT_THAT(world.scripts.runList, ElementsAre("Tick"));
    world.scripts.Update();
    EXPECT_THAT(Reports(), ElementsAre("tick"));

    world.Run("EveryFrame", 2);
    EXPECT_THAT(world.scripts.everyFrame, IsEmpty());
}

TEST(LuaGlobalFunctions, DestroyRemovesTheObjectWithItsComponents)
{
    GameWorld world({"interface"});
    const std::uint32_t id = FullObject("Doomed");
    const std::uint32_t other = FullObject("Other");
    world.Run("Destroy", id);
    EXPECT_EQ(GameObjectTable::Instance().Get(id), nullptr);
    EXPECT_EQ(Get<Engine::Transform>(id), nullptr);
    EXPECT_EQ(Get<Engine::Controller>(id), nullptr);
    EXPECT_NE(GameObjectTable::Instance().Get(other), nullptr);
}

TEST(LuaGlobalFunctions, TransformsKeptAcrossALevelLoadNoLongerExist)
{
    GameWorld world({"interface"});
    // A level of many crates: the load that replaces it hands the same ids, and much of
    // the same memory, to the new crates.
    constexpr int Crates = 64;
    std::string level = "{";
    for (int crate = 0; crate < Crates; ++crate)
        level += fmt::format(R"({}"Crate {:02}": {{"Handle": "Crate", "Transform": {{"PosX": [90.0], "PosY": [0.0], )"
                             R"("PosZ": [0.0], "Rotation": [0.0], "ScaleX": [1.0], "ScaleY": [1.0]}}}})",
                             crate == 0 ? "" : ",", crate);
    TestSupport::WriteFile(world.folder.root / "Crates.json", level + "}");
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.levelNames = {"Crates"};
    levels.levelPaths = {"Crates.json"};

    for (int load = 0; load < 3; ++load) {
        levels.LoadLevel("Crates");
        world.Run("KeepTransform", Crates - 1);
    }
    EXPECT_THAT(Reports(), IsEmpty());
    for (std::uint32_t id = 0; id < Crates; ++id)
        EXPECT_EQ(Get<Engine::Transform>(id)->x_pos, 90.0f) << "crate " << id;
}

TEST(LuaGlobalFunctions, SpriteTextureAndVisibility)
{
    GameWorld world({"interface"});
    GameObjectTable& table = GameObjectTable::Instance();
    // Ids ending in 0, 1 and 2 pick the step of the script; 10 to 12 have no Sprite.
    for (int i = 0; i < 13; ++i)
        table.CreateGameObject("Sprite " + std::to_string(i));
    for (std::uint32_t id : {0u, 1u, 2u})
        ComponentStore::Instance().AddComponent<Engine::Sprite>(id);
    Get<Engine::Sprite>(0)->Texture = "Start.png";
    Get<Engine::Sprite>(2)->Color[3] = 0.0f;

    for (std::uint32_t id : {0u, 1u, 2u, 10u, 11u, 12u})
        world.Run("Sprites", id);
    EXPECT_EQ(Get<Engine::Sprite>(0)->Texture, "Changed.png");
    EXPECT_EQ(Get<Engine::Sprite>(1)->Color[3], 0.0f);
    EXPECT_EQ(Get<Engine::Sprite>(1)->Color[0], 1.0f);
    EXPECT_EQ(Get<Engine::Sprite>(2)->Color[3], 1.0f);
    EXPECT_EQ(Get<Engine::Sprite>(10), nullptr);
    EXPECT_FALSE(world.LoggedContaining(err, "Sprites"));
}

TEST(LuaGlobalFunctions, UnRegisterEventRemovesTheFirstEntryAndSurvivesAnUnknownEvent)
{
    GameWorld world({"interface"});
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject("Zone");
    Engine::EventManager& events = *Engine::GetSystem<Engine::EventManager>();
    for (const char* handler : {"A", "B", "A"})
        events.AddEvent(id, "OnCollision", handler);

    world.Run("Unregister", id);
    EXPECT_THAT(Get<Engine::EventSet>(id)->events.at("OnCollision"), ElementsAre("B", "A"));
    EXPECT_THAT(Reports(), ElementsAre("went on"));
    EXPECT_TRUE(world.LoggedContaining(err, "has no event \"No Such Event\""));
}

TEST(LuaGlobalFunctions, ChangeLevelAsksTheRunningGameAndIsLoggedWithoutOne)
{
    GameWorld world({"interface"});
    world.Run("EndLevel");
    EXPECT_THAT(Reports(), ElementsAre("went on"));
    EXPECT_TRUE(world.folder.Logged(err, "ChangeLevel: there is no running game to end the level of"));

    Game game;
    Engine::Camera::Instance()->game = &game;
    ASSERT_EQ(game.levelChangeRequested, 0);
    world.Run("EndLevel");
    EXPECT_EQ(game.levelChangeRequested, 1);
    Engine::Camera::Instance()->game = nullptr;
}

TEST(LuaGlobalFunctions, HeatMapDropsMarkersAtThePlayerAndShowsThem)
{
    GameWorld world({"interface"});
    const std::uint32_t player = FullObject("Player");
    Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
    Get<Engine::Transform>(player)->x_pos = 120.0f;
    Get<Engine::Sprite>(player)->Texture = "Player.png";

    world.Run("HeatMap", 1);
    const std::uint32_t marker = GameObjectTable::Instance().FindGameObject("HeatMapObj");
    ASSERT_NE(marker, Engine::InvalidObjectId);
    EXPECT_NE(Get<Engine::HeatMap>(marker), nullptr);
    EXPECT_EQ(Get<Engine::Transform>(marker)->x_pos, 120.0f);
    EXPECT_EQ(Get<Engine::Sprite>(marker), nullptr);

    world.Run("HeatMap", 2);
    ASSERT_NE(Get<Engine::Sprite>(marker), nullptr);
    EXPECT_EQ(Get<Engine::Sprite>(marker)->Texture, "Player.png");
    EXPECT_EQ(Get<Engine::Sprite>(marker)->MeshIndex, 2);
}

TEST(LuaGlobalFunctions, PlayerTrailTakesTheColourWithFullAlpha)
{
    GameWorld world({"interface"});
    world.Run("Trail");
    world.Run("Trail");
    const Engine::ParticleSystem& particles = *Engine::GetSystem<Engine::ParticleSystem>();
    // The second trail replaces the first in its slot.
    ASSERT_EQ(particles.emitters.size(), 1u);
    EXPECT_TRUE(particles.emitters[0].active);
    EXPECT_THAT(particles.emitters[0].color, ElementsAre(0.25f, 0.5f, 0.75f, 1.0f));
}

TEST(LuaGlobalFunctions, LogWritesTheMessageUnchangedAtDebugLevel)
{
    GameWorld world({"interface"});
    world.Run("LogLine");
    EXPECT_TRUE(world.folder.Logged(debug, "Plain {} text, 100%"));
}

TEST(LuaGlobalFunctions, SoundEventsAndTheWinStingerOfEachLevel)
{
    GameWorld world({"interface"}, {.sound = true});
    Engine::SoundSystem& sound = *Engine::GetSystem<Engine::SoundSystem>();
    using Platform::StudioPlaybackState;
    const auto stateOf = [&](const std::string& name) {
        const auto* instance = sound.FindInstance(name);
        EXPECT_NE(instance, nullptr) << name;
        return instance == nullptr ? StudioPlaybackState::Stopped : instance->PlaybackState();
    };

    world.Run("Sounds", 1);
    EXPECT_EQ(stateOf("Player_Jump"), StudioPlaybackState::Playing);
    EXPECT_TRUE(world.folder.Logged(info, "Playing sound event Player_Jump"));

    struct Case {
        std::int32_t state;
        const char* music;    // empty: nothing happens in this state
        const char* stinger;
    };
    const std::vector<Case> cases = {
        {3, "Level1_LevelMusic", "Level1_WinStinger"}, {4, "Level3_LevelMusic", "Level3_WinStinger"},
        {5, "Level4_LevelMusic", "Level4_WinStinger"}, {6, "Level5_LevelMusic", "Level5_WinStinger"},
        {1, "Menu_Music", ""},                         {7, "Menu_Music", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.state);
        sound.PlayEvent(test.music);
        GameStateIndex = test.state;
        world.Run("Sounds", 2);
        if (*test.stinger == '\0') {
            EXPECT_EQ(stateOf(test.music), StudioPlaybackState::Playing);
            continue;
        }
        EXPECT_EQ(stateOf(test.music), StudioPlaybackState::Stopping);
        EXPECT_EQ(stateOf(test.stinger), StudioPlaybackState::Playing);
    }
    GameStateIndex = 0;
}

TEST(LuaGlobalFunctions, ControllerConstantsAreReadOnlyAndTheWriteEndsTheCall)
{
    GameWorld world({"interface"});
    FullObject("Player");
    const Engine::Controller defaults;
    const std::vector<std::pair<const char*, float>> constants = {
        {"x_acc", defaults.x_acc},     {"y_acc", defaults.y_acc},     {"maxvelx", defaults.maxvelx},
        {"maxvely", defaults.maxvely}, {"jumpvel", defaults.jumpvel}, {"fric", defaults.fric},
    };
    for (std::size_t i = 0; i < constants.size(); ++i)
        world.Run("ReadOnly", static_cast<std::uint32_t>(i + 1));
    world.Run("ReadOnly", 7);  // x_vel may be written

    EXPECT_THAT(Reports(), ElementsAre("wrote x_vel"));
    const Engine::Controller& controller = *Get<Engine::Controller>(0);
    EXPECT_EQ(controller.x_vel, 1.0f);
    for (const auto& [name, value] : constants) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(world.LoggedContaining(err, std::string("Controller.") + name + " is read-only"));
    }
    EXPECT_EQ(controller.x_acc, defaults.x_acc);
    EXPECT_EQ(controller.y_acc, defaults.y_acc);
    EXPECT_EQ(controller.maxvelx, defaults.maxvelx);
    EXPECT_EQ(controller.maxvely, defaults.maxvely);
    EXPECT_EQ(controller.jumpvel, defaults.jumpvel);
    EXPECT_EQ(controller.fric, defaults.fric);
}

TEST(LuaGlobalFunctions, WrongArgumentTypesAreRefusedByNameAndEndTheCall)
{
    GameWorld world({"interface"});
    FullObject("Player");
    const std::vector<const char*> refusals = {
        "bad argument #1 to 'GetTransform' (integer expected, got string)",
        "bad argument #1 to 'GetTransform' (integer expected, got number)",
        "bad argument #1 to 'Delay' (number expected, got string)",
        "bad argument #2 to 'Delay' (function expected, got no value)",
        "bad argument #2 to 'RunFor' (function expected, got string)",
        "bad argument #1 to 'StopTimer' (TimerHandle expected, got number)",
        "bad argument #2 to 'ParticleBurst' (number expected, got no value)",
        "bad argument #1 to 'BindKeyPressed' (string expected, got number)",
        "bad argument #1 to 'PlaySoundEvent' (string expected, got no value)",
        "bad argument #3 to 'UnRegisterEvent' (integer expected, got string)",
        "bad argument #2 to 'ChangeSprite' (string expected, got nil)",
        "bad argument #3 to 'PlayerTrail' (number expected, got Controller)",
    };
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        SCOPED_TRACE(refusals[i]);
        world.Run("WrongTypes", static_cast<std::uint32_t>(i + 1));
        EXPECT_TRUE(world.LoggedContaining(err, refusals[i]));
    }
    EXPECT_THAT(Reports(), IsEmpty());
    EXPECT_TRUE(world.timers.timers.empty());
}

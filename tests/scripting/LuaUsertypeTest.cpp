// The engine types in Lua: component objects that read and write the live component,
// read-only Controller constants, refused writes, removed components, and TimerHandle.
#include "LuaSandbox.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using Engine::ComponentStore;
using Engine::Controller;
using Engine::LuaComponent;
using ScriptTest::LuaSandbox;
using ScriptTest::Reports;
using testing::ElementsAre;

namespace {

// Component getters as the game's own will give them, under test names.
struct ComponentSandbox : LuaSandbox {
    ComponentSandbox()
    {
        player = Engine::GameObjectTable::Instance().CreateGameObject("Player");
        ComponentStore& store = ComponentStore::Instance();
        store.AddComponent<Engine::Transform>(player);
        store.AddComponent<Engine::Controller>(player);
        store.AddComponent<Engine::RigidBody>(player);
        store.AddComponent<Engine::Sprite>(player);
        store.AddComponent<Engine::Checkpoint>(player);
        Bind<Engine::Transform>("TransformOf");
        Bind<Engine::Controller>("ControllerOf");
        Bind<Engine::RigidBody>("RigidBodyOf");
        Bind<Engine::Sprite>("SpriteOf");
        Bind<Engine::Checkpoint>("CheckpointOf");
        lua.SetFunction("RemoveTransform", [](std::int32_t id) {
            ComponentStore::Instance().RemoveComponent<Engine::Transform>(static_cast<std::uint32_t>(id));
        });
        lua.SetFunction("ReplaceTransform", [](std::int32_t id) {
            ComponentStore::Instance().AddComponent<Engine::Transform>(static_cast<std::uint32_t>(id));
        });
        lua.SetFunction("EngineX", [](std::int32_t id) {
            return ComponentStore::Instance().GetComponent<Engine::Transform>(static_cast<std::uint32_t>(id))->x_pos;
        });
        environment.SetInteger("player", player);
    }

    template <typename T>
    void Bind(const char* name)
    {
        lua.SetFunction(name, [](std::int32_t id) { return LuaComponent<T>{static_cast<std::uint32_t>(id)}; });
    }

    template <typename T>
    T& Get()
    {
        return *ComponentStore::Instance().GetComponent<T>(player);
    }

    std::uint32_t player = 0;
};

}  // namespace

TEST(LuaUsertype, WritesReachTheLiveComponentAtOnce)
{
    ComponentSandbox sandbox;
    EXPECT_EQ(sandbox.Run("local t = TransformOf(player)\n"
                          "t.x_pos = 5\n"
                          "Report(t.x_pos .. ' ' .. EngineX(player))\n"
                          "TransformOf(player).y_pos = t.x_pos + 0.25"),
              "");
    EXPECT_THAT(Reports(), ElementsAre("5.0 5.0"));
    EXPECT_EQ(sandbox.Get<Engine::Transform>().x_pos, 5.0f);
    EXPECT_EQ(sandbox.Get<Engine::Transform>().y_pos, 5.25f);
}

TEST(LuaUsertype, EveryFieldNameReachesItsOwnMember)
{
    ComponentSandbox sandbox;
    // Each field gets a value of its own, so a name wired to the wrong member shows.
    EXPECT_EQ(sandbox.Run(R"(
        local t = TransformOf(player)
        t.x_pos, t.y_pos, t.z_pos, t.x_sca, t.y_sca, t.rot = 1, 2, 3, 4, 5, 6
        local b = RigidBodyOf(player)
        b.left, b.top, b.right, b.bottom = 7, 8, 9, 10
        local p = CheckpointOf(player)
        p.x, p.y = 11, 12
        local c = ControllerOf(player)
        c.x_vel, c.y_vel, c.next_x_pos, c.next_y_pos = 13, 14, 15, 16
        c.isGrounded, c.facingRt, c.airSkillSpent, c.waterSkillSpent = true, false, true, true
        c.airSkillActive, c.godMode, c.isDead = true, true, true
        for i, name in ipairs({ "airSkillTimer", "waterSkillTimer", "airDelayTimer", "waterDelayTimer" }) do
            local handle = TimerHandle.new()
            handle.id, handle.revision = i, 10 * i
            c[name] = handle
        end
        Report(t.x_pos + t.y_pos + t.z_pos + t.x_sca + t.y_sca + t.rot .. ' ' .. b.left + b.top + b.right + b.bottom
               .. ' ' .. p.x + p.y .. ' ' .. c.waterDelayTimer.id .. ' ' .. c.airSkillTimer.revision)
    )"), "");
    EXPECT_THAT(Reports(), ElementsAre("21.0 34.0 23.0 4 10"));

    const auto& t = sandbox.Get<Engine::Transform>();
    EXPECT_EQ((std::vector<float>{t.x_pos, t.y_pos, t.z_pos, t.x_sca, t.y_sca, t.rot}),
              (std::vector<float>{1, 2, 3, 4, 5, 6}));
    const auto& b = sandbox.Get<Engine::RigidBody>();
    EXPECT_EQ((std::vector<float>{b.left, b.top, b.right, b.bottom}), (std::vector<float>{7, 8, 9, 10}));
    EXPECT_EQ(sandbox.Get<Engine::Checkpoint>().x, 11.0f);
    EXPECT_EQ(sandbox.Get<Engine::Checkpoint>().y, 12.0f);
    const Controller& c = sandbox.Get<Controller>();
    EXPECT_EQ((std::vector<float>{c.x_vel, c.y_vel, c.next_x_pos, c.next_y_pos}), (std::vector<float>{13, 14, 15, 16}));
    EXPECT_EQ((std::vector<bool>{c.isGrounded, c.facingRt, c.airSkillSpent, c.waterSkillSpent, c.airSkillActive,
                                 c.godMode, c.isDead}),
              (std::vector<bool>{true, false, true, true, true, true, true}));
    const std::vector<Engine::TimerHandle> timers = {c.airSkillTimer, c.waterSkillTimer, c.airDelayTimer,
                                                     c.waterDelayTimer};
    for (std::uint32_t i = 0; i < timers.size(); ++i) {
        EXPECT_EQ(timers[i].id, i + 1);
        EXPECT_EQ(timers[i].revision, 10 * (i + 1));
    }
}

TEST(LuaUsertype, ControllerConstantsAreReadOnly)
{
    struct Case {
        const char* name;
        float Controller::*member;
    };
    const std::vector<Case> cases = {
        {"x_acc", &Controller::x_acc},     {"y_acc", &Controller::y_acc}, {"maxvelx", &Controller::maxvelx},
        {"maxvely", &Controller::maxvely}, {"jumpvel", &Controller::jumpvel}, {"fric", &Controller::fric},
    };
    ComponentSandbox sandbox;
    const Controller defaults;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Reports().clear();
        const std::string name = test.name;
        // Readable; the assignment ends the chunk with the error, and the value stays.
        EXPECT_EQ(sandbox.Run("local c = ControllerOf(player)\nReport(string.format('%.4f', c." + name +
                              "))\nc." + name + " = 1\nReport('after')"),
                  "test:3: Controller." + name + " is read-only");
        EXPECT_THAT(Reports(), ElementsAre(fmt::format("{:.4f}", defaults.*test.member)));
        EXPECT_EQ(sandbox.Get<Controller>().*test.member, defaults.*test.member);
    }
}

TEST(LuaUsertype, RefusesWritesOfTheWrongTypeOrToUnknownFields)
{
    struct Case {
        const char* assignment;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"TransformOf(player).x_pos = 'far'", "test:1: Transform.x_pos expects a number, got string"},
        {"ControllerOf(player).isGrounded = 1", "test:1: Controller.isGrounded expects a boolean, got number"},
        {"ControllerOf(player).airSkillTimer = 5", "test:1: Controller.airSkillTimer expects a TimerHandle, got number"},
        {"ControllerOf(player).airSkillTimer = TransformOf(player)",
         "test:1: Controller.airSkillTimer expects a TimerHandle, got Transform"},
        {"TimerHandle.new().id = -1", "test:1: TimerHandle.id expects a unsigned 32-bit integer, got number"},
        {"TimerHandle.new().revision = 1.5", "test:1: TimerHandle.revision expects a unsigned 32-bit integer, got number"},
        {"TransformOf(player).x = 1", "test:1: Transform has no field 'x'"},
        {"SpriteOf(player).Texture = 'Empty.png'", "test:1: Sprite has no field 'Texture'"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.assignment);
        ComponentSandbox sandbox;
        EXPECT_EQ(sandbox.Run(test.assignment), test.error);
    }
}

// A NaN or an infinity written into a component would reach the physics, the renderer and,
// through a save, the level file.
TEST(LuaUsertype, RefusesNumbersThatAreNotFiniteAndNamesTheField)
{
    struct Case {
        const char* assignment;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"TransformOf(player).x_pos = 0/0", "Transform.x_pos expects a finite number, got "},
        {"TransformOf(player).rot = math.huge", "test:1: Transform.rot expects a finite number, got inf"},
        {"ControllerOf(player).x_vel = -math.huge", "test:1: Controller.x_vel expects a finite number, got -inf"},
        {"RigidBodyOf(player).top = 1e39", "test:1: RigidBody.top expects a finite number, got 1e+39"},
        {"CheckpointOf(player).y = 0/0", "Checkpoint.y expects a finite number, got "},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.assignment);
        ComponentSandbox sandbox;
        EXPECT_THAT(sandbox.Run(test.assignment), testing::HasSubstr(test.error));
        // Nothing was written: every field is as finite as it was made.
        const Engine::Transform& transform = sandbox.Get<Engine::Transform>();
        for (const float value : {transform.x_pos, transform.rot, sandbox.Get<Engine::Controller>().x_vel,
                                  sandbox.Get<Engine::RigidBody>().top, sandbox.Get<Engine::Checkpoint>().y})
            EXPECT_TRUE(std::isfinite(value));
    }
    ComponentSandbox sandbox;
    EXPECT_EQ(sandbox.Run("TransformOf(player).x_pos = 3.4e38"), "");
    EXPECT_EQ(sandbox.Get<Engine::Transform>().x_pos, 3.4e38f);
}

TEST(LuaUsertype, SpriteHasNoReadableFieldsAndMissingComponentsAreNil)
{
    ComponentSandbox sandbox;
    const std::uint32_t bare = Engine::GameObjectTable::Instance().CreateGameObject("Bare");
    sandbox.environment.SetInteger("bare", bare);
    EXPECT_EQ(sandbox.Run("local s = SpriteOf(player)\n"
                          "Report(type(s) .. ' ' .. tostring(s.Texture) .. ' ' .. tostring(s.Color))\n"
                          "Report(tostring(TransformOf(bare)) .. ' ' .. tostring(SpriteOf(bare)))\n"
                          "Report(tostring(TransformOf(-1)) .. ' ' .. tostring(TransformOf(16384)))\n"
                          "Report(tostring(getmetatable(TransformOf(player))))"),
              "");
    EXPECT_THAT(Reports(), ElementsAre("userdata nil nil", "nil nil", "nil nil", "false"));
}

TEST(LuaUsertype, ObjectOfARemovedOrReplacedComponentRaises)
{
    ComponentSandbox sandbox;
    EXPECT_EQ(sandbox.Run("held = TransformOf(player)\nRemoveTransform(player)\nReport(held.x_pos)"),
              "test:3: Transform of game object 0 no longer exists");
    EXPECT_EQ(sandbox.Run("ReplaceTransform(player)\nheld.x_pos = 3"),
              "test:2: Transform of game object 0 no longer exists");
    EXPECT_EQ(sandbox.Run("local fresh = TransformOf(player)\nfresh.x_pos = 3\nReport(tostring(fresh.x_pos))"), "");
    EXPECT_THAT(Reports(), ElementsAre("3.0"));
}

TEST(LuaUsertype, TimerHandlesTravelAsCopies)
{
    ComponentSandbox sandbox;
    EXPECT_EQ(sandbox.Run(R"(
        local handle = TimerHandle.new()
        Report(handle.id .. ' ' .. handle.revision .. ' ' .. math.type(handle.id))
        handle.id, handle.revision = 3, 4
        local c = ControllerOf(player)
        c.airSkillTimer = handle
        handle.id = 99             -- the controller keeps its own copy
        local read = c.airSkillTimer
        read.revision = 77         -- and reading gives another copy
        Report(c.airSkillTimer.id .. ' ' .. c.airSkillTimer.revision)
    )"), "");
    EXPECT_THAT(Reports(), ElementsAre("0 0 integer", "3 4"));
    EXPECT_EQ(sandbox.Get<Controller>().airSkillTimer.id, 3u);
    EXPECT_EQ(sandbox.Get<Controller>().airSkillTimer.revision, 4u);
}

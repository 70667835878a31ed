#include "LogCapture.h"

#include "core/EventManager.h"
#include "core/InputManager.h"
#include "editor/Editor.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/ArchetypeManager.h"
#include "game/Scoreboard.h"
#include "gameplay/AnimationUpdate.h"
#include "gameplay/CollisionResolution.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/ParallaxSystem.h"
#include "gameplay/ParticleSystem.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/PlayerController.h"
#include "gameplay/PositionUpdate.h"
#include "gameplay/RangeChecking.h"
#include "scripting/ScriptManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeindex>
#include <typeinfo>
#include <vector>

using Engine::SystemManager;

namespace {

struct ExpectedSystem {
    std::string name;
    std::type_index type;
};

// The registry's fixed order: it is every frame's update order.
const std::vector<ExpectedSystem>& RegistryOrder()
{
    static const std::vector<ExpectedSystem> order = {
        {"PhysicsUpdate", typeid(Engine::PhysicsUpdate)},
        {"CollisionUpdate", typeid(Engine::CollisionUpdate)},
        {"CollisionResolution", typeid(Engine::CollisionResolution)},
        {"PositionUpdate", typeid(Engine::PositionUpdate)},
        {"PlayerController", typeid(Engine::PlayerController)},
        {"TimerDatabase", typeid(Engine::TimerDatabase)},
        {"SoundSystem", typeid(Engine::SoundSystem)},
        {"ScriptManager", typeid(Engine::ScriptManager)},
        {"EventManager", typeid(Engine::EventManager)},
        {"ArchetypeManager", typeid(Engine::ArchetypeManager)},
        {"Scoreboard", typeid(Engine::Scoreboard)},
        {"AnimationUpdate", typeid(Engine::AnimationUpdate)},
        {"ParallaxSystem", typeid(Engine::ParallaxSystem)},
        {"RangeChecking", typeid(Engine::RangeChecking)},
        {"ParticleSystem", typeid(Engine::ParticleSystem)},
    };
    return order;
}

// Wraps a registry system and writes each lifecycle call to stderr, where a death test reads it.
class LifecycleProbe : public Engine::System {
public:
    LifecycleProbe(std::size_t slot, std::unique_ptr<Engine::System> wrapped) : index(slot), inner(std::move(wrapped)) {}
    ~LifecycleProbe() override
    {
        std::fprintf(stderr, "D%zu;", index);
        inner.reset();
    }
    void Init() override { inner->Init(); }
    // Records the call only: a real update would look other systems up through the registry,
    // which now hands out probes in their place.
    void Update() override { std::fprintf(stderr, "U%zu;", index); }
    void Shutdown() override
    {
        std::fprintf(stderr, "S%zu;", index);
        inner->Shutdown();
    }

private:
    std::size_t index;
    std::unique_ptr<Engine::System> inner;
};

void WrapEverySystemInAProbe()
{
    auto& systems = SystemManager::Instance().systems;
    for (std::size_t slot = 0; slot < systems.size(); ++slot)
        systems[slot] = std::make_unique<LifecycleProbe>(slot, std::move(systems[slot]));
}

// "S0;.*S1;.* ... " : the calls in that order, whatever else reaches stderr between them.
std::string InOrder(char call)
{
    std::string pattern;
    for (std::size_t slot = 0; slot < SystemManager::SystemCount; ++slot)
        pattern += call + std::to_string(slot) + ";.*";
    return pattern;
}

}  // namespace

TEST(SystemManager, StartUpAddsTheFifteenSystemsInOrderThenCountsThem)
{
    InitializeLogging();
    SystemManager& registry = SystemManager::Instance();

    std::vector<std::string> added;
    std::vector<std::string> counted;
    bool countedAfterLastAdd = true;
    for (const std::string& message : CoreTest::LoggedMessages()) {
        if (message.rfind("Adding System: ", 0) == 0) {
            added.push_back(message.substr(15));
            countedAfterLastAdd = counted.empty();
        }
        if (message.rfind("Number of systems: ", 0) == 0)
            counted.push_back(message);
    }
    std::vector<std::string> names;
    for (const ExpectedSystem& system : RegistryOrder())
        names.push_back(system.name);
    EXPECT_EQ(added, names);
    EXPECT_EQ(counted, std::vector<std::string>{"Number of systems: 15"});
    EXPECT_TRUE(countedAfterLastAdd);

    ASSERT_EQ(registry.systems.size(), RegistryOrder().size());
    for (std::size_t slot = 0; slot < registry.systems.size(); ++slot) {
        ASSERT_NE(registry.systems[slot], nullptr) << slot;
        const Engine::System& system = *registry.systems[slot];
        EXPECT_EQ(std::type_index(typeid(system)), RegistryOrder()[slot].type) << "slot " << slot;
    }
    EXPECT_EQ(Engine::GetSystem<Engine::TimerDatabase>(), registry.systems[5].get());
    EXPECT_EQ(Engine::GetSystem<Engine::ScriptManager>(), registry.systems[7].get());
    EXPECT_EQ(Engine::GetSystem<Engine::EventManager>(), registry.systems[8].get());
    EXPECT_EQ(Engine::GetSystem<Engine::ParticleSystem>(), registry.systems[14].get());

    // A second use neither builds nor counts again.
    SystemManager::Instance();
    EXPECT_EQ(CoreTest::CountLogged("Number of systems: 15"), 1u);
    EXPECT_EQ(CoreTest::CountLogged("Adding System: PhysicsUpdate"), 1u);
}

TEST(SystemManager, InitHasRunOnTheFirstUse)
{
    // The timer database's Init reads the clock; before it the clock origin is 0.
    EXPECT_NE(Engine::GetSystem<Engine::TimerDatabase>()->lastTime, 0);
}

TEST(SystemManager, UpdateRunsEverySystemInIdOrder)
{
    EXPECT_EXIT(
        {
            WrapEverySystemInAProbe();
            SystemManager::Instance().Update();
            std::fprintf(stderr, "end;");
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "^" + InOrder('U') + "end;");
}

TEST(SystemManager, ExitShutsEverySystemDownBeforeDeletingAny)
{
    EXPECT_EXIT(
        {
            WrapEverySystemInAProbe();
            std::exit(0);  // the registry goes with the other singletons
        },
        testing::ExitedWithCode(0), InOrder('S') + InOrder('D'));
}

namespace {

// A system whose Shutdown uses the input manager and the log, as a system may at exit.
class ServiceUser : public Engine::System {
public:
    void Init() override {}
    void Update() override {}
    void Shutdown() override
    {
        Engine::InputManager::Instance().KeyPressed('Q');
        LogInfo("shutting down");
        const auto& lines = Engine::Editor::Instance().logLines;
        if (!lines.empty() && lines.back().find("shutting down") != std::string::npos)
            std::fprintf(stderr, "log alive;");
    }
};

}  // namespace

// The registry is usually the first singleton made; the input manager comes later (the
// player controller's Init binds keys), yet it must still be there when the Shutdowns run.
TEST(SystemManager, ServicesOutliveTheShutdownsAtExit)
{
    EXPECT_EXIT(
        {
            InitializeLogging();
            SystemManager::Instance().systems.back() = std::make_unique<ServiceUser>();
            Engine::InputManager::Instance().RegisterKeyPressedFunction('Q', [] { std::fprintf(stderr, "input alive;"); });
            std::exit(0);
        },
        testing::ExitedWithCode(0), "input alive;log alive;");
}

#include "GameplayScene.h"

#include "core/InputManager.h"
#include "core/Log.h"
#include "core/LogCapture.h"
#include "gameplay/PlayerController.h"

#include <gtest/gtest.h>

using namespace GameplayScene;

namespace {
Engine::InputManager& Input() { return Engine::InputManager::Instance(); }

std::vector<std::string> QueuedHandles()
{
    std::vector<std::string> handles;
    for (const Call& call : QueuedCalls()) {
        EXPECT_EQ(call.second, 0u) << call.first << " is queued for object 0, not the player";
        handles.push_back(call.first);
    }
    return handles;
}

// A player whose Controller the camera follows; its id is not 0 so that the queue's 0 is visible.
Engine::Controller& MakePlayer()
{
    AddObject("Ground", 0.0f, 0.0f);
    const std::uint32_t player = AddObject("Player", 0.0f, 0.0f);
    FollowPlayer(player);
    return Add<Engine::Controller>(player);
}
}  // namespace

TEST(PlayerController, BindsTheSixteenKeysToTheirActionScripts)
{
    enum class Way { Press, Release, Hold };
    struct Case {
        std::uint8_t key;
        Way way;
        const char* handle;
    };
    const std::vector<Case> cases = {
        {'A', Way::Hold, "RunLeft"},       {'D', Way::Hold, "RunRight"},       {'J', Way::Press, "Jump"},
        {'W', Way::Press, "Jump"},         {0x20, Way::Press, "Jump"},         {'J', Way::Release, "CancelJump"},
        {'W', Way::Release, "CancelJump"}, {0x20, Way::Release, "CancelJump"}, {0x25, Way::Hold, "RunLeft"},
        {0x27, Way::Hold, "RunRight"},     {'Z', Way::Press, "Jump"},          {'Z', Way::Release, "CancelJump"},
        {'K', Way::Press, "AirDash"},      {'L', Way::Press, "WaterSkill"},    {'X', Way::Press, "AirDash"},
        {'C', Way::Press, "WaterSkill"},
    };
    MakePlayer();
    Engine::GetSystem<Engine::PlayerController>();  // the registry's start-up runs Init
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "key 0x" << std::hex << int(c.key));
        ClearQueue();
        switch (c.way) {
        case Way::Press:
            Input().KeyPressed(c.key);
            break;
        case Way::Release:
            Input().KeyReleased(c.key);
            break;
        case Way::Hold:
            Input().KeyPressed(c.key);  // a key-down binding does nothing on the press itself
            EXPECT_TRUE(QueuedHandles().empty());
            Step<Engine::PlayerController>();
            Step<Engine::PlayerController>();
            break;
        }
        const std::vector<std::string> expected(c.way == Way::Hold ? 2 : 1, c.handle);
        EXPECT_EQ(QueuedHandles(), expected);
        Input().KeyReleased(c.key);
    }
}

TEST(PlayerController, HeldKeysRunEveryFrameInKeyCodeOrder)
{
    MakePlayer();
    Engine::GetSystem<Engine::PlayerController>();
    Input().KeyPressed('D');
    Input().KeyPressed('A');
    Input().KeyPressed(0x25);
    ClearQueue();

    Step<Engine::PlayerController>();

    EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"RunLeft", "RunLeft", "RunRight"}));
}

TEST(PlayerController, DeadPlayerIsStoppedAndLosesOnlyTheKAndLSkillsUntilAlive)
{
    Engine::Controller& player = MakePlayer();
    Engine::GetSystem<Engine::PlayerController>();
    // A script's own key-down binding is held back too while the player is dead.
    Input().RegisterKeyDownFunction('Q', [] { Engine::GetSystem<Engine::ScriptManager>()->Queue("Taunt", 0); });
    player.isDead = true;
    player.x_vel = 300.0f;
    player.y_vel = -200.0f;
    Input().KeyPressed('A');
    Input().KeyPressed('Q');
    ClearQueue();

    Step<Engine::PlayerController>();

    EXPECT_EQ(player.x_vel, 0.0f);
    EXPECT_EQ(player.y_vel, 0.0f);
    EXPECT_TRUE(QueuedHandles().empty()) << "held keys do nothing while dead";
    for (const std::uint8_t key : {'K', 'L', 'X', 'C'}) {
        Input().KeyPressed(key);
        Input().KeyReleased(key);
    }
    EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"AirDash", "WaterSkill"})) << "only X and C answer";

    player.isDead = false;
    ClearQueue();
    Step<Engine::PlayerController>();
    EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"RunLeft", "Taunt"}));
    ClearQueue();
    Input().KeyPressed('K');
    Input().KeyPressed('L');
    EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"AirDash", "WaterSkill"})) << "K and L are back";
}

TEST(PlayerController, KeepsBindingsMadeBeforeItAndTreatsAMissingPlayerAsAlive)
{
    bool ownJump = false;
    Input().RegisterKeyPressedFunction('J', [&ownJump] { ownJump = true; });
    Engine::GetSystem<Engine::PlayerController>();
    ClearQueue();

    Input().KeyPressed('J');
    EXPECT_TRUE(ownJump);
    EXPECT_TRUE(QueuedHandles().empty());

    // Neither an id past the table nor a player without a Controller is dead.
    for (const std::int32_t followed : {16384, -1, 0}) {
        SCOPED_TRACE(followed);
        if (followed == 0)
            AddObject("Player", 0.0f, 0.0f);
        Engine::Camera::Instance()->followedObjectId = followed;
        Input().KeyPressed('D');
        ClearQueue();
        Step<Engine::PlayerController>();
        EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"RunRight"}));
        Input().KeyReleased('D');
    }
}

// Registering K and L on every living frame changed nothing but wrote two log lines a frame.
TEST(PlayerController, BindsKAndLAgainOnlyOnTheFrameThePlayerLivesAgain)
{
    InitializeLogging({.repeatWindow = {}});  // every line counts here
    Engine::Controller& player = MakePlayer();
    Engine::GetSystem<Engine::PlayerController>();
    auto registrations = [] {
        return CoreTest::CountLogged("Registered Key Pressed Function to K") + CoreTest::CountLogged("Registered Key Pressed Function to L");
    };
    const std::size_t atStart = registrations();
    EXPECT_EQ(atStart, 2u);

    for (int frame = 0; frame < 100; ++frame)
        Step<Engine::PlayerController>();
    EXPECT_EQ(registrations(), atStart) << "a living player's frames register nothing";

    player.isDead = true;
    for (int frame = 0; frame < 3; ++frame)
        Step<Engine::PlayerController>();
    player.isDead = false;
    Step<Engine::PlayerController>();
    EXPECT_EQ(registrations(), atStart + 2) << "K and L come back once";
    for (int frame = 0; frame < 10; ++frame)
        Step<Engine::PlayerController>();
    EXPECT_EQ(registrations(), atStart + 2);

    ClearQueue();
    Input().KeyPressed('K');
    Input().KeyPressed('L');
    EXPECT_EQ(QueuedHandles(), (std::vector<std::string>{"AirDash", "WaterSkill"}));
}

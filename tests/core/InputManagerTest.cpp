#include "core/InputManager.h"

#include "core/Log.h"
#include "editor/Editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using Engine::InputManager;

class InputManagerTest : public testing::Test {
protected:
    // Every line, repeats too: these tests count what the input manager logs.
    void SetUp() override { InitializeLogging({.repeatWindow = {}}); }

    static int CountLogLines(const std::string& text)
    {
        const auto& lines = Engine::Editor::Instance().logLines;
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        }));
    }

    InputManager& input = InputManager::Instance();
};

TEST_F(InputManagerTest, AutoRepeatRunsThePressedBindingOnce)
{
    int runs = 0;
    input.RegisterKeyPressedFunction('J', [&] { ++runs; });
    input.KeyPressed('J');
    input.KeyPressed('J');
    input.KeyPressed('J');
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(CountLogLines("[info] Running Key Pressed Function J\n"), 1);

    input.KeyReleased('J');
    input.KeyPressed('J');  // a new press after the release runs it again
    EXPECT_EQ(runs, 2);
}

struct RegistrationCase {
    const char* kind;
    std::function<void(InputManager&, std::uint8_t, InputManager::KeyFunction)> registerFunction;
    std::function<void(InputManager&, std::uint8_t)> trigger;
    const char* registeredLine;
};

TEST_F(InputManagerTest, FirstBindingOfAKeyIsKeptAndEveryRegistrationIsLogged)
{
    const std::vector<RegistrationCase> cases = {
        {"down", [](InputManager& m, std::uint8_t k, InputManager::KeyFunction f) { m.RegisterKeyDownFunction(k, f); },
         [](InputManager& m, std::uint8_t k) {
             m.KeyPressed(k);
             m.RunKeyDownFunctions();
             m.KeyReleased(k);
         },
         "[info] Registered Key Down Function to K\n"},
        {"pressed",
         [](InputManager& m, std::uint8_t k, InputManager::KeyFunction f) { m.RegisterKeyPressedFunction(k, f); },
         [](InputManager& m, std::uint8_t k) {
             m.KeyPressed(k);
             m.KeyReleased(k);
         },
         "[info] Registered Key Pressed Function to K\n"},
        {"up", [](InputManager& m, std::uint8_t k, InputManager::KeyFunction f) { m.RegisterKeyUpFunction(k, f); },
         [](InputManager& m, std::uint8_t k) {
             m.KeyPressed(k);
             m.KeyReleased(k);
         },
         "[info] Registered Key Up Function to K\n"},
    };
    for (const RegistrationCase& registration : cases) {
        std::vector<std::string> calls;
        registration.registerFunction(input, 'K', [&] { calls.push_back("first"); });
        registration.registerFunction(input, 'K', [&] { calls.push_back("second"); });
        registration.trigger(input, 'K');
        EXPECT_EQ(calls, std::vector<std::string>{"first"}) << registration.kind;
        EXPECT_EQ(CountLogLines(registration.registeredLine), 2) << registration.kind;
        input.keyDown.clear();  // the bindings refer to this iteration's calls
        input.keyPressed.clear();
        input.keyUp.clear();
    }
}

TEST_F(InputManagerTest, KeyUpBindingRunsOnEveryReleaseHeldOrNot)
{
    int runs = 0;
    input.RegisterKeyUpFunction(0x0D, [&] { ++runs; });
    input.KeyReleased(0x0D);  // never pressed
    input.KeyPressed(0x0D);
    input.KeyReleased(0x0D);
    input.KeyReleased(0x0D);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(CountLogLines("[info] Running Key Up Function Return\n"), 3);
    EXPECT_TRUE(input.held.empty());
}

TEST_F(InputManagerTest, UnboundKeysAreHeldAndOtherwiseIgnored)
{
    input.KeyPressed('Q');
    input.KeyPressed(0x26);
    input.RunKeyDownFunctions();
    EXPECT_EQ(input.held, (std::set<std::uint8_t>{'Q', 0x26}));
    input.KeyReleased('Q');
    input.KeyReleased('Z');  // not held: nothing happens
    EXPECT_EQ(input.held, std::set<std::uint8_t>{0x26});
    EXPECT_EQ(CountLogLines("Running"), 0);
}

TEST_F(InputManagerTest, KeyDownBindingsRunEveryFrameInAscendingKeyOrder)
{
    std::string order;
    input.RegisterKeyDownFunction('D', [&] { order += 'D'; });
    input.RegisterKeyDownFunction('A', [&] { order += 'A'; });
    input.KeyPressed('D');
    input.KeyPressed('A');
    input.RunKeyDownFunctions();
    input.RunKeyDownFunctions();
    EXPECT_EQ(order, "ADAD");
    input.KeyReleased('A');
    input.RunKeyDownFunctions();
    EXPECT_EQ(order, "ADADD");
}

TEST_F(InputManagerTest, UnregisterKeyPressedRemovesOnlyThatBinding)
{
    int pressed = 0;
    int up = 0;
    input.UnregisterKeyPressedFunction('L');  // absent: nothing
    input.RegisterKeyPressedFunction('L', [&] { ++pressed; });
    input.RegisterKeyUpFunction('L', [&] { ++up; });
    input.UnregisterKeyPressedFunction('L');
    input.KeyPressed('L');
    input.KeyReleased('L');
    EXPECT_EQ(pressed, 0);
    EXPECT_EQ(up, 1);

    input.RegisterKeyPressedFunction('L', [&] { pressed += 10; });  // the key is free again
    input.KeyPressed('L');
    EXPECT_EQ(pressed, 10);
}

// Bindings that change the bindings or the held keys while the per-frame walk runs, as the
// player controller and Lua key bindings do. The captured strings make a callable destroyed
// while it runs visible to the address sanitizer.
TEST_F(InputManagerTest, BindingsMayRebindAndReleaseKeysDuringTheWalk)
{
    std::vector<std::string> calls;
    const auto log = std::make_shared<std::vector<std::string>*>(&calls);
    const std::string aName = "A";
    input.RegisterKeyDownFunction('A', [this, log, aName] {
        (*log)->push_back(aName);
        input.keyDown.erase('A');  // unbinds itself
        input.KeyReleased('A');    // and releases its own key
        input.keyDown.erase('B');  // a later key loses its binding before the walk reaches it
        input.RegisterKeyDownFunction('C', [log] { (*log)->push_back("new C"); });
        (*log)->push_back(aName + " done");
    });
    input.RegisterKeyDownFunction('B', [log] { (*log)->push_back("B"); });
    input.RegisterKeyDownFunction('D', [log] { (*log)->push_back("D"); });
    for (std::uint8_t key : {'A', 'B', 'C', 'D'})
        input.KeyPressed(key);

    input.RunKeyDownFunctions();
    EXPECT_EQ(calls, (std::vector<std::string>{"A", "A done", "new C", "D"}));
    EXPECT_EQ(input.held, (std::set<std::uint8_t>{'B', 'C', 'D'}));

    calls.clear();
    input.RunKeyDownFunctions();
    EXPECT_EQ(calls, (std::vector<std::string>{"new C", "D"}));
}

TEST_F(InputManagerTest, PressedAndUpBindingsMayUnbindThemselves)
{
    std::vector<std::string> calls;
    const std::string name = "pressed";
    input.RegisterKeyPressedFunction('K', [this, &calls, name] {
        input.UnregisterKeyPressedFunction('K');
        calls.push_back(name);
    });
    const std::string upName = "up";
    input.RegisterKeyUpFunction('K', [this, &calls, upName] {
        input.keyUp.erase('K');
        calls.push_back(upName);
    });
    input.KeyPressed('K');
    input.KeyReleased('K');
    input.KeyPressed('K');
    input.KeyReleased('K');
    EXPECT_EQ(calls, (std::vector<std::string>{"pressed", "up"}));
    EXPECT_EQ(CountLogLines("Running Key Pressed Function K"), 1);
    EXPECT_EQ(CountLogLines("Running Key Up Function K"), 1);
}

}  // namespace

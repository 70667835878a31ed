// The binding layer's global functions: argument conversion and refusal, results, C++
// exceptions, and Lua functions held from C++.
#include "LuaSandbox.h"

#include "scripting/LuaFunction.h"

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using ScriptTest::LuaSandbox;
using ScriptTest::Reports;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

void AddTake(LuaSandbox& sandbox)
{
    sandbox.lua.SetFunction("Take", [](float number, std::int32_t integer, const std::string& text) {
        Reports().push_back(fmt::format("{} {} {}", number, integer, text));
    });
}

}  // namespace

TEST(LuaBinding, ConvertsArgumentsAndRefusesWrongOnesByName)
{
    struct Case {
        const char* call;
        const char* report;  // null when the call must be refused
        const char* error;   // the refusal, with the chunk's position in front
    };
    const std::vector<Case> cases = {
        {"Take(1.5, 7, 'x')", "1.5 7 x", ""},
        {"Take(2, -2147483648, '')", "2 -2147483648 ", ""},
        {"Take(0.1, 3.0, 'float with an integral value')", "0.1 3 float with an integral value", ""},
        {"Take('1.5', 7, 'x')", nullptr, "test:1: bad argument #1 to 'Take' (number expected, got string)"},
        {"Take(1.5, 7.5, 'x')", nullptr, "test:1: bad argument #2 to 'Take' (32-bit integer expected, got number)"},
        {"Take(1.5, 2^31, 'x')", nullptr, "test:1: bad argument #2 to 'Take' (32-bit integer expected, got number)"},
        {"Take(1.5, 0/0, 'x')", nullptr, "test:1: bad argument #2 to 'Take' (32-bit integer expected, got number)"},
        {"Take(1.5, 7, 8)", nullptr, "test:1: bad argument #3 to 'Take' (string expected, got number)"},
        {"Take(1.5, 7)", nullptr, "test:1: bad argument #3 to 'Take' (string expected, got no value)"},
        {"Take(nil, 7, 'x')", nullptr, "test:1: bad argument #1 to 'Take' (number expected, got nil)"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.call);
        LuaSandbox sandbox;
        AddTake(sandbox);
        // The refusal ends the chunk: nothing after the call runs.
        const std::string error = sandbox.Run(std::string(test.call) + "\nReport('after')");
        if (test.report != nullptr) {
            EXPECT_EQ(error, "");
            EXPECT_THAT(Reports(), ElementsAre(test.report, "after"));
        } else {
            EXPECT_EQ(error, test.error);
            EXPECT_THAT(Reports(), IsEmpty());
        }
    }
}

TEST(LuaBinding, PushesResults)
{
    LuaSandbox sandbox;
    sandbox.lua.SetFunction("Half", [](float value) { return value / 2.0f; });
    sandbox.lua.SetFunction("Twice", [](std::int32_t value) { return value * 2; });
    sandbox.lua.SetFunction("Shout", [](const std::string& text) { return text + "!"; });
    sandbox.lua.SetFunction("IsEven", [](std::int32_t value) { return value % 2 == 0; });
    EXPECT_EQ(sandbox.Run("Report(Half(3) .. ' ' .. math.type(Twice(21)) .. ' ' .. Twice(21) .. ' ' .. "
                          "Shout('hey') .. ' ' .. tostring(IsEven(4)) .. ' ' .. tostring(IsEven(3)))"),
              "");
    EXPECT_THAT(Reports(), ElementsAre("1.5 integer 42 hey! true false"));
}

TEST(LuaBinding, ExceptionLeavingAFunctionBecomesALuaError)
{
    LuaSandbox sandbox;
    sandbox.lua.SetFunction("Unregister", [](const std::string& event) -> void {
        throw std::out_of_range("no event " + event);
    });
    EXPECT_EQ(sandbox.Run("Unregister('Jump')\nReport('after')"), "test:1: Unregister: no event Jump");
    // The same error can be caught by the script, and the state stays usable.
    EXPECT_EQ(sandbox.Run("local ok, message = pcall(Unregister, 'Dash')\nReport(tostring(ok) .. ' ' .. message)"), "");
    EXPECT_THAT(Reports(), ElementsAre("false Unregister: no event Dash"));
}

TEST(LuaBinding, FunctionsAreReleasedWithTheirState)
{
    auto token = std::make_shared<int>(0);
    {
        LuaSandbox sandbox;
        sandbox.lua.SetFunction("Touch", [token] { ++*token; });
        EXPECT_EQ(sandbox.Run("Touch() Touch()"), "");
        EXPECT_EQ(*token, 2);
        EXPECT_EQ(token.use_count(), 2);
    }
    EXPECT_EQ(token.use_count(), 1);
}

TEST(LuaBinding, HeldFunctionsAreProtectedAndDieWithTheirState)
{
    LuaSandbox sandbox;
    std::vector<Engine::LuaFunction> held;
    sandbox.lua.SetFunction("Hold", [&held](Engine::LuaFunction function) { held.push_back(std::move(function)); });
    EXPECT_EQ(sandbox.Run("local n = 0\n"
                          "Hold(function() n = n + 1 Report('held ' .. n) end)\n"
                          "Hold(function() error('held failure') end)"),
              "");
    EXPECT_EQ(sandbox.Run("Hold(5)"), "test:1: bad argument #1 to 'Hold' (function expected, got number)");
    ASSERT_EQ(held.size(), 2u);

    EXPECT_TRUE(held[0].Call());
    EXPECT_TRUE(held[0].Call());
    EXPECT_THAT(Reports(), ElementsAre("held 1", "held 2"));
    std::string error;
    EXPECT_FALSE(held[1].Call(&error));
    EXPECT_EQ(error, "test:3: held failure");

    // A copy is its own reference and stays callable after the original is gone.
    Engine::LuaFunction copy = held[0];
    held.erase(held.begin());
    EXPECT_TRUE(copy.Call());
    EXPECT_THAT(Reports(), ElementsAre("held 1", "held 2", "held 3"));

    // Once the state is replaced, the functions it held do nothing (and release nothing).
    sandbox.environment = Engine::LuaEnvironment();
    sandbox.lua = Engine::LuaState();
    EXPECT_FALSE(copy.Alive());
    EXPECT_FALSE(copy.Call(&error));
    EXPECT_THAT(Reports(), ElementsAre("held 1", "held 2", "held 3"));
}

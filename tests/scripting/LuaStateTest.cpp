// The scripts' Lua state as a guard of the game: a memory ceiling that fails only the call
// that passes it, code that loads from Lua text only, in every way a script can load it, and
// no work (finalizers, loops inside the library) out of reach of the instruction budget.
#include "LuaSandbox.h"
#include "ScriptFixture.h"

#include "TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ScriptTest::LuaSandbox;
using ScriptTest::Reports;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

int AppendChunk(lua_State*, const void* bytes, std::size_t size, void* out)
{
    static_cast<std::string*>(out)->append(static_cast<const char*>(bytes), size);
    return 0;
}

// The precompiled form of a chunk, as luac or string.dump would write it.
std::string PrecompiledChunk(const std::string& source)
{
    lua_State* L = luaL_newstate();
    std::string bytes;
    if (luaL_loadstring(L, source.c_str()) == LUA_OK)
        lua_dump(L, &AppendChunk, &bytes, 0);
    lua_close(L);
    return bytes;
}

}  // namespace

TEST(LuaState, AllocationPastTheCeilingFailsThatCallOnly)
{
    LuaSandbox sandbox(std::size_t{32} << 20);
    EXPECT_THAT(sandbox.Run("held = {}\nfor i = 1, 1000 do held[i] = string.rep('x', 1 << 20) .. i end"),
                HasSubstr("not enough memory"));
    // What the failed call grew is garbage once let go, and the state goes on.
    EXPECT_EQ(sandbox.Run("held = nil\ncollectgarbage()\nReport(tostring(#string.rep('y', 8 << 20)))"), "");
    EXPECT_THAT(Reports(), ElementsAre("8388608"));

    // The game's own ceiling: a gigabyte in one string is refused before it is made.
    LuaSandbox game;
    EXPECT_THAT(game.Run("local s = string.rep('x', 1 << 30)"), HasSubstr("not enough memory"));
    EXPECT_EQ(game.Run("Report(tostring(#string.rep('z', 1 << 20)))"), "");
    EXPECT_THAT(Reports(), ElementsAre("1048576"));
}

TEST(LuaState, PrecompiledChunksAreRefusedByEveryWayOfLoadingCode)
{
    ScriptTest::ScriptFolder folder({});  // the scripts' folder the files below sit in
    folder.Write("binary.lua", PrecompiledChunk("Report('binary ran')"));
    folder.Write("text.lua", "Report('text ran')\nreturn 'text result'");
    LuaSandbox sandbox;
    ASSERT_EQ(sandbox.Run("binary = string.dump(function() Report('dumped ran') end)"), "");

    struct Case {
        const char* chunk;
        const char* error;  // a part of the error text, or "" for a chunk that must run cleanly
    };
    const std::vector<Case> cases = {
        {"assert(load(binary))()", "attempt to load a binary chunk (mode is 't')"},
        {"assert(load(binary, 'dumped', 'b'))()", "attempt to load a binary chunk (mode is 't')"},
        {"assert(load(binary, 'dumped', 'bt', {}))()", "attempt to load a binary chunk (mode is 't')"},
        {"assert(loadfile('binary.lua', 'b'))()", "attempt to load a binary chunk (mode is 't')"},
        {"dofile('binary.lua')", "attempt to load a binary chunk (mode is 't')"},
        {"package.path = './?.lua'\nrequire('binary')", "attempt to load a binary chunk (mode is 't')"},
        // Without a file name these would wait for standard input.
        {"dofile()", "bad argument #1 to 'dofile' (file name expected, got no value)"},
        {"loadfile()", "bad argument #1 to 'loadfile' (file name expected, got no value)"},
        // Text loads as before, and load still takes its environment.
        {"assert(load('Report(x)', 'env', 't', {Report = Report, x = '3'}))()", ""},
        {"assert(loadfile('text.lua'))()\nReport(dofile('text.lua'))", ""},
        {"package.path = './?.lua'\nrequire('text')", ""},
        // Native code cannot be reached.
        {"Report(tostring(package.loadlib) .. ' ' .. #package.searchers)", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.chunk);
        const std::string error = sandbox.Run(test.chunk);
        if (std::string(test.error).empty())
            EXPECT_EQ(error, "");
        else
            EXPECT_THAT(error, HasSubstr(test.error));
    }
    EXPECT_THAT(Reports(), ElementsAre("3", "text ran", "text ran", "text result", "text ran", "nil 2"));
}

TEST(LuaState, WorkOutOfTheBudgetsSightIsRefused)
{
    LuaSandbox sandbox;
    struct Case {
        const char* chunk;
        const char* error;  // "" for a chunk that must run cleanly
    };
    const std::vector<Case> cases = {
        // Finalizers run with hooks off, where no budget reaches.
        {"setmetatable({}, {__gc = function() while true do end end})\ncollectgarbage()",
         "test:1: bad argument #2 to 'setmetatable' (finalizers (__gc) are not available to scripts)"},
        {"local t = {}\nReport(tostring(setmetatable(t, {__index = function() return 5 end}) == t) .. ' ' .. t.x)\n"
         "setmetatable(t, nil)\nReport(tostring(t.x))",
         ""},
        // Loops in C that copy nothing, for ever.
        {"Report('[' .. string.rep('', 1 << 40) .. ('').rep('', 1 << 40, '') .. ']')", ""},
        {"Report(('x'):rep(3, ',') .. ' ' .. string.rep('ab', 2))", ""},
        {"table.move({}, 1, 1 << 40, 1, {})", "test:1: bad argument #3 to 'move' (more than 33554432 elements to move)"},
        {"table.move({}, math.mininteger, -1, 1)",
         "test:1: bad argument #3 to 'move' (more than 33554432 elements to move)"},
        {"Report(table.concat(table.move({1, 2, 3}, 1, 3, 2), ' '))", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.chunk);
        EXPECT_EQ(sandbox.Run(test.chunk), test.error);
    }
    EXPECT_THAT(Reports(), ElementsAre("true 5", "nil", "[]", "x,x,x abab", "1 1 2 3"));
}

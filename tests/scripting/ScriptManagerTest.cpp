// The script manager over real script files: loading and the handle rule, the run queue,
// the every-frame list, failures in scripts, and reloading.
#include "ScriptFixture.h"

#include "TestSupport.h"

#include "scripting/ScriptManager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

using ScriptTest::Reports;
using ScriptTest::ScriptFolder;
using spdlog::level::err;
using spdlog::level::info;
using spdlog::level::warn;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

std::vector<std::string> Handles(const Engine::ScriptManager& manager)
{
    std::vector<std::string> handles;
    for (const auto& [handle, environment] : manager.scripts)
        handles.push_back(handle);
    return handles;
}

// A manager started as the registry starts it, with Report available to its scripts.
struct StartedManager {
    StartedManager()
    {
        manager.Init();
        ScriptTest::AddReportFunction(manager.lua);
    }
    Engine::ScriptManager manager;
};

}  // namespace

TEST(ScriptManager, LoadsTheFolderInNameOrderUnderTheHandleRule)
{
    ScriptFolder folder({"handles"});
    StartedManager started;

    std::vector<std::string> loading;
    for (const ScriptTest::LogLine& line : folder.Lines())
        loading.push_back(line.text);
    EXPECT_THAT(loading,
                ElementsAre("Loading Resources/Scripts/Air Dash (old).lua",
                            "Loading script Resources/Scripts/Air Dash (old).lua with handle Air Dash (old)",
                            "Loading Resources/Scripts/Jump.lua",
                            "Loading script Resources/Scripts/Jump.lua with handle Jump",
                            "Loading Resources/Scripts/Jump.lua.bak",
                            "Loading script Resources/Scripts/Jump.lua.bak with handle Jump",
                            "Attemping to create an event with duplicate handle: Jump. Event not loaded.",
                            "Loading Resources/Scripts/my.script.lua",
                            "Failed to load Resources/Scripts/my.script.lua (Not a lua file)"));
    EXPECT_TRUE(folder.Logged(warn, "Attemping to create an event with duplicate handle: Jump. Event not loaded."));
    EXPECT_TRUE(folder.Logged(err, "Failed to load Resources/Scripts/my.script.lua (Not a lua file)"));
    EXPECT_THAT(Handles(started.manager), ElementsAre("Air Dash (old)", "Jump"));

    // The first file of a handle is the one that stays.
    started.manager.Queue("Jump", 4);
    started.manager.Queue("Air Dash (old)", 5);
    started.manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Jump.lua 4", "Air Dash (old) 5"));
}

TEST(ScriptManager, HandleIsTheFirstMatchAnywhereInThePath)
{
    struct Case {
        const char* path;
        std::optional<std::string> handle;
    };
    const std::vector<Case> cases = {
        {"Resources/Scripts/Jump.lua", "Jump"},
        {"Resources/Scripts/Air Dash (old).lua", "Air Dash (old)"},
        {"Resources/Scripts/Run-Left.lua", "Run-Left"},
        {"Resources\\Scripts\\Water_Skill2.lua", "Water_Skill2"},
        {"Resources/Scripts/Jump.lua.bak", "Jump"},
        {"Resources/First.lua/Second.lua", "First"},
        {"Resources/Scripts/my.script.lua", std::nullopt},
        {"Resources/Scripts/.lua", std::nullopt},
        {"Jump.lua", std::nullopt},
        {"Resources/Scripts/Jump.txt", std::nullopt},
    };
    ScriptFolder folder({});
    Engine::ScriptManager manager;
    manager.OpenLibraries();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.path);
        manager.LoadScriptFile(test.path);  // none of these files exists; the log shows the handle
        const std::string path = test.path;
        if (test.handle)
            EXPECT_TRUE(folder.Logged(info, "Loading script " + path + " with handle " + *test.handle));
        else
            EXPECT_TRUE(folder.Logged(err, "Failed to load " + path + " (Not a lua file)"));
    }
    // A file that cannot be read leaves no script behind.
    EXPECT_THAT(manager.scripts, IsEmpty());
}

TEST(ScriptManager, RunsQueuedCallsInOrderEachWithItsOwnGameObject)
{
    ScriptFolder folder({"queue"});
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;

    manager.Queue("Count", 1);
    manager.Queue("Other", 2);
    manager.Queue("Count", 3);
    manager.Queue("Count", 16383);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Count 1", "Other 2", "Count 3", "Count 16383"));

    // The queue is spent: with an empty every-frame list the next update runs nothing.
    EXPECT_THAT(manager.runList, IsEmpty());
    EXPECT_THAT(manager.runObjectIds, IsEmpty());
    Reports().clear();
    manager.Update();
    EXPECT_THAT(Reports(), IsEmpty());
}

TEST(ScriptManager, ScriptThatFailsToLoadLeavesNoHandle)
{
    ScriptFolder folder({"queue"});
    folder.Write("RaisesNil.lua", "function main() end\nerror()\n");
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;

    // Both the syntax error and the error raised while the chunk runs are logged as Lua gives them.
    const auto errorLines = [&](const std::string& fileName) {
        int found = 0;
        for (const ScriptTest::LogLine& line : folder.Lines())
            if (line.level == err && line.text.find("Resources/Scripts/" + fileName + ":") == 0)
                ++found;
        return found;
    };
    EXPECT_EQ(errorLines("Broken.lua"), 1);
    EXPECT_EQ(errorLines("LoadFails.lua"), 1);
    EXPECT_TRUE(folder.Logged(err, "Resources/Scripts/LoadFails.lua:5: LoadFails gives up"));
    EXPECT_TRUE(folder.Logged(err, "(error object is a nil value)"));
    EXPECT_THAT(Handles(manager), ElementsAre("Count", "Fails", "NoMain", "Other"));

    manager.Queue("Broken", 1);
    manager.Queue("LoadFails", 2);
    manager.Queue("Count", 3);
    manager.Update();
    EXPECT_TRUE(folder.Logged(err, "Attempted to run a script that doesn't exist! Broken"));
    EXPECT_TRUE(folder.Logged(err, "Attempted to run a script that doesn't exist! LoadFails"));
    EXPECT_THAT(Reports(), ElementsAre("Count 3"));
}

TEST(ScriptManager, ScriptWithoutMainLogsEachCall)
{
    ScriptFolder folder({"queue"});
    StartedManager started;
    started.manager.Queue("NoMain", 1);
    started.manager.Queue("NoMain", 2);
    started.manager.Update();
    EXPECT_EQ(folder.Count(err, "Script NoMain has no entry-point!"), 2);
}

TEST(ScriptManager, ErrorInMainEndsThatCallOnlyAndIsLogged)
{
    ScriptFolder folder({"queue"});
    folder.Write("RaisesTable.lua", "function main()\n    error({ code = 1 })\nend\n");
    StartedManager started;
    started.manager.Queue("Fails", 6);
    started.manager.Queue("Count", 7);
    started.manager.Queue("Fails", 8);
    started.manager.Queue("RaisesTable", 9);
    started.manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Fails 6", "Count 7", "Fails 8"));
    EXPECT_EQ(folder.Count(err, "Script Fails failed: Resources/Scripts/Fails.lua:4: boom"), 2);
    // Error values that are not text are described rather than dropped.
    EXPECT_TRUE(folder.Logged(err, "Script RaisesTable failed: (error object is a table value)"));

}

TEST(ScriptManager, ScriptsKeepTheirGlobalsToThemselves)
{
    ScriptFolder folder({"environments"});
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;
    manager.Queue("A", 0);
    manager.Queue("B", 0);
    manager.Queue("A", 0);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("A sees A nil calls 1", "B sees B true", "A sees A nil calls 2"));

    // Nothing a script defines reaches the global table.
    lua_State* L = manager.lua.Raw();
    for (const char* name : {"shared", "onlyInB", "calls", "main", "GameObject"}) {
        EXPECT_EQ(lua_getglobal(L, name), LUA_TNIL) << name;
        lua_pop(L, 1);
    }
}

TEST(ScriptManager, OpensOnlyTheFiveStandardLibraries)
{
    ScriptFolder folder({"environments"});
    StartedManager started;
    started.manager.Queue("Libraries", 0);
    started.manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("math=table package=table string=table table=table io=nil os=nil "
                                       "debug=nil coroutine=nil utf8=nil floor=2 format=7"));
}

TEST(ScriptManager, EveryFrameCallsSeeGameObjectZero)
{
    ScriptFolder folder({"queue"});
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;

    manager.RegisterEveryFrame("Count");
    manager.RegisterEveryFrame("Other");
    manager.RegisterEveryFrame("Count");
    EXPECT_THAT(manager.everyFrame, ElementsAre("Count", "Other"));

    // Ids queued at the positions the refill reuses must not leak into every-frame calls.
    manager.Queue("Other", 5);
    manager.Queue("Other", 6);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Other 5", "Other 6"));

    Reports().clear();
    manager.Queue("Count", 9);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Count 0", "Other 0", "Count 9"));

    // A change of the list shows once the next update has refilled the queue.
    manager.UnregisterEveryFrame("Count");
    Reports().clear();
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Count 0", "Other 0"));
    Reports().clear();
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Other 0"));
}

TEST(ScriptManager, CallsQueuedWhileTheQueueRunsAreNotRun)
{
    ScriptFolder folder({"queue"});
    folder.Write("Flood.lua", "function main()\n    for i = 1, 100 do QueueCall(\"Count\", i) end\nend\n");
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;
    manager.lua.SetFunction("QueueCall", [&manager](const std::string& handle, std::int32_t id) {
        manager.Queue(handle, static_cast<std::uint32_t>(id));
    });
    manager.RegisterEveryFrame("Other");

    manager.Queue("Flood", 0);
    manager.Queue("Count", 1);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("Count 1"));
    EXPECT_THAT(manager.runList, ElementsAre("Other"));
    EXPECT_THAT(manager.runObjectIds, ElementsAre(0u));
}

TEST(ScriptManager, ReloadAllRunsPendingCallsInTheNewScripts)
{
    ScriptFolder folder({"environments"});
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;
    manager.Queue("A", 0);
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("A sees A nil calls 1"));

    manager.RegisterEveryFrame("B");
    manager.Queue("A", 3);
    folder.Write("B.lua", "function main()\n    Report(\"new B \" .. GameObject)\nend\n");
    // The new state has the engine types again.
    folder.Write("C.lua", "function main()\n    Report(\"C \" .. GameObject .. \" \" .. TimerHandle.new().id)\nend\n");
    manager.ReloadAll();
    ScriptTest::AddReportFunction(manager.lua);
    EXPECT_TRUE(folder.Logged(info, "Reloading all scripts..."));
    EXPECT_THAT(Handles(manager), ElementsAre("A", "B", "C", "Libraries"));

    manager.Queue("C", 4);
    Reports().clear();
    manager.Update();
    // A starts again from its file: its call counter is back to one.
    EXPECT_THAT(Reports(), ElementsAre("A sees A nil calls 1", "C 4 0"));

    // The every-frame list survives the reload as well, and now names the new B.
    Reports().clear();
    manager.Update();
    EXPECT_THAT(Reports(), ElementsAre("new B 0"));
}

TEST(ScriptManager, MissingScriptFolderIsLoggedAndLoadsNothing)
{
    ScriptFolder folder({});
    std::filesystem::remove_all(folder.root / "Resources");
    StartedManager started;
    EXPECT_THAT(started.manager.scripts, IsEmpty());
    ASSERT_FALSE(folder.Lines().empty());
    EXPECT_EQ(folder.Lines().back().level, err);
    EXPECT_THAT(folder.Lines().back().text, HasSubstr("Resources/Scripts/"));
}

TEST(ScriptManager, EndlessLoopsEndAtTheInstructionBudgetAndTheGameGoesOn)
{
    ScriptFolder folder({"queue"});
    folder.Write("LoopAtLoad.lua", "while true do end\nfunction main() end\n");
    folder.Write("LoopInMain.lua", "function main()\n    while true do end\nend\n");
    // Catching the budget's error does not buy the loop more time.
    folder.Write("LoopInPcall.lua",
                 "function main()\n    while true do\n        pcall(function() while true do end end)\n    end\nend\n");
    folder.Write("LoopEveryFrame.lua", "function main()\n    local n = 0\n    while true do n = n + 1 end\nend\n");
    StartedManager started;
    Engine::ScriptManager& manager = started.manager;
    const std::string spent = ": script ran past its budget of 100000000 instructions (an endless loop?)";

    EXPECT_TRUE(folder.Logged(err, "Resources/Scripts/LoopAtLoad.lua:1" + spent));
    EXPECT_FALSE(manager.scripts.contains("LoopAtLoad"));
    EXPECT_TRUE(manager.scripts.contains("LoopInMain"));

    manager.Queue("LoopInMain", 1);
    manager.Queue("Count", 2);
    manager.Queue("LoopInPcall", 3);
    manager.Queue("Count", 4);
    manager.Update();
    EXPECT_TRUE(folder.Logged(err, "Script LoopInMain failed: Resources/Scripts/LoopInMain.lua:2" + spent));
    EXPECT_THAT(folder.Lines().back().text, HasSubstr("Script LoopInPcall failed: Resources/Scripts/LoopInPcall.lua:"));
    EXPECT_THAT(Reports(), ElementsAre("Count 2", "Count 4"));

    // An every-frame script that never ends fails once and leaves the every-frame list, so
    // it costs one frame its budget and no more; the others go on.
    manager.RegisterEveryFrame("LoopEveryFrame");
    manager.RegisterEveryFrame("Count");
    Reports().clear();
    for (int frame = 0; frame < 4; ++frame)
        manager.Update();
    EXPECT_EQ(folder.Count(err, "Script LoopEveryFrame failed: Resources/Scripts/LoopEveryFrame.lua:3" + spent), 1);
    EXPECT_EQ(folder.Count(warn, "Script LoopEveryFrame ran past its budget: it no longer runs every frame"), 1);
    EXPECT_THAT(manager.everyFrame, ElementsAre("Count"));
    EXPECT_THAT(Reports(), ElementsAre("Count 0", "Count 0", "Count 0"));
}

// Scripts ship with levels: dofile, loadfile and require read the scripts' folder and no
// other file on the machine, whatever name or package.path a script gives them.
TEST(ScriptManager, ScriptsReadOnlyFilesOfTheScriptsFolder)
{
    ScriptFolder folder({});
    // Were any of these read, the secret would show in an error (a syntax error quotes the
    // text) or in a report.
    const std::string outside = "Report('outside ran') SECRET-LINE\n";
    TestSupport::WriteFile(folder.root / "Outside.lua", outside);
    TestSupport::WriteFile(folder.root / "Resources" / "Outside.lua", outside);
    folder.Write("Helper.lua", "Report('helper loaded')\nreturn { twice = function(n) return 2 * n end }\n");
    folder.Write("Uses.lua", "function main()\n"
                             "    Report(tostring(require('Helper').twice(21)))\n"
                             "    Report(tostring(dofile('Helper.lua').twice(2)))\n"
                             "    Report(tostring(loadfile('./Helper.lua')().twice(3)))\n"
                             "end\n");
    const std::string absolute = (folder.root / "Outside.lua").string();
    const std::vector<std::pair<std::string, std::string>> reads = {
        {"dofile('" + absolute + "')", "dofile: '" + absolute + "'"},
        {"loadfile('" + absolute + "')", "loadfile: '" + absolute + "'"},
        {"dofile('../Outside.lua')", "dofile: '../Outside.lua'"},
        {"loadfile('sub/../../../Outside.lua')", "loadfile: 'sub/../../../Outside.lua'"},
        {"dofile('..\\\\Outside.lua')", "dofile: '..\\Outside.lua'"},
        {"package.path = '" + (folder.root / "?.lua").string() + "'\nrequire('Outside')",
         "require: '" + absolute + "'"},
        {"package.path = '../?.lua'\nrequire('Outside')", "require: '../Outside.lua'"},
        {"package.path = '../../?.lua'\nReport(package.searchpath('Outside', package.path))",
         "require: '../../Outside.lua'"},
    };
    for (std::size_t i = 0; i < reads.size(); ++i)
        folder.Write("Reads" + std::to_string(i) + ".lua", "function main()\n" + reads[i].first + "\nend\n");
    StartedManager started;
    Reports().clear();

    started.manager.Queue("Uses", 0);
    for (std::size_t i = 0; i < reads.size(); ++i)
        started.manager.Queue("Reads" + std::to_string(i), 0);
    started.manager.Update();

    // The game's own script loads once for require and again for each file read.
    EXPECT_THAT(Reports(), ElementsAre("helper loaded", "42", "helper loaded", "4", "helper loaded", "6"));
    for (std::size_t i = 0; i < reads.size(); ++i) {
        SCOPED_TRACE(reads[i].first);
        const std::string prefix = "Script Reads" + std::to_string(i) + " failed: ";
        const auto line = std::find_if(folder.Lines().begin(), folder.Lines().end(), [&](const ScriptTest::LogLine& l) {
            return l.text.starts_with(prefix);
        });
        ASSERT_NE(line, folder.Lines().end());
        EXPECT_EQ(line->level, err);
        EXPECT_THAT(line->text, HasSubstr(reads[i].second + " is not a script file (names are relative to "
                                                            "Resources/Scripts/ and hold no '..')"));
    }
    for (const ScriptTest::LogLine& line : folder.Lines())
        EXPECT_THAT(line.text, testing::Not(HasSubstr("SECRET"))) << line.text;
}

// A test executable started for many tests, as a developer starts one, runs each in a process
// of its own: state one test leaves in the engine's singletons never reaches the next, and a
// test that crashes is reported as failed while the others still run.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

#include "core/GameObjectTable.h"

namespace {

// Set only by the test below for the children it starts.
constexpr const char* OnPurpose = "VANTREL_WHOLE_RUN_ON_PURPOSE";

bool AskedForOnPurposeRun()
{
    return std::getenv(OnPurpose) != nullptr;
}

}  // namespace

// These three make sense only inside the run below; alone they pass quietly.
TEST(WholeExecutableCase, LeavesAnObjectBehind)
{
    if (AskedForOnPurposeRun())
        Engine::GameObjectTable::Instance().CreateGameObject("Left Behind");
}

TEST(WholeExecutableCase, StartsWithAnEmptyTable)
{
    if (AskedForOnPurposeRun()) {
        EXPECT_EQ(Engine::GameObjectTable::Instance().FindGameObject("Left Behind"), Engine::InvalidObjectId);
    }
}

TEST(WholeExecutableCase, Crashes)
{
    if (AskedForOnPurposeRun())
        std::abort();  // a signal the sanitizers leave alone
}

TEST(WholeExecutable, RunsEachTestInAFreshProcessAndReportsACrashAsAFailure)
{
    const std::filesystem::path output = TestSupport::TemporaryHome() / "whole-run.txt";
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command = std::string(OnPurpose) + "=1 '" + self +
                                "' --gtest_filter='WholeExecutableCase.*' >'" + output.string() + "' 2>&1";
    const int result = std::system(command.c_str());
    const std::string text = TestSupport::ReadFile(output);

    ASSERT_TRUE(WIFEXITED(result)) << text;
    EXPECT_EQ(WEXITSTATUS(result), 1) << text;
    EXPECT_NE(text.find("[       OK ] WholeExecutableCase.LeavesAnObjectBehind"), std::string::npos) << text;
    EXPECT_NE(text.find("[       OK ] WholeExecutableCase.StartsWithAnEmptyTable"), std::string::npos) << text;
    EXPECT_NE(text.find("[  FAILED  ] WholeExecutableCase.Crashes (killed by signal 6"), std::string::npos) << text;
    EXPECT_NE(text.find("[  PASSED  ] 2 tests."), std::string::npos) << text;
    EXPECT_NE(text.find("[  FAILED  ] 1 tests, listed below:"), std::string::npos) << text;
}

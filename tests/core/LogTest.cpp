#include "core/Log.h"

#include "TestSupport.h"
#include "editor/Editor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

std::filesystem::path LogFile() { return TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt"; }

std::string EditorText()
{
    std::string text;
    for (const std::string& line : Engine::Editor::Instance().logLines)
        text += line;
    return text;
}

TEST(Log, EveryLineReachesTheFileAndTheEditorListWithTheSameText)
{
    ASSERT_FALSE(std::filesystem::exists(LogFile().parent_path()));
    InitializeLogging();
    LogInfo("Creating Window...");
    LogDebug(std::string("pause toggled"));
    LogWarn("Hit GameObject Limit!");
    LogError("Failed to load {}", "Level 9.json");
    LogInfo("Number of systems: {}", 15u);
    LogInfo("Registered Key Down Function to {}", 'A');
    FlushLog();

    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    const std::vector<std::string> expected = {
        "[info] Creating Window...",  "[debug] pause toggled",   "[warning] Hit GameObject Limit!",
        "[error] Failed to load Level 9.json", "[info] Number of systems: 15",
        "[info] Registered Key Down Function to A",
    };
    ASSERT_EQ(lines.size(), expected.size());
    const std::regex time(R"(^\[\d{2}:\d{2}:\d{2}\] $)");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const std::string& line = lines[i];
        ASSERT_GE(line.size(), 11u + expected[i].size() + 1) << line;
        EXPECT_TRUE(std::regex_match(line.substr(0, 11), time)) << line;
        EXPECT_EQ(line.substr(11), expected[i] + "\n");
    }
    EXPECT_TRUE(Engine::Editor::Instance().scrollLogToBottom);
    EXPECT_EQ(TestSupport::ReadFile(LogFile()), EditorText());
}

TEST(Log, PlainMessagesKeepTheirBraces)
{
    InitializeLogging();
    const std::vector<std::string> messages = {"{}", "Level {Boss} {0} {:>4}", "unbalanced { and }"};
    for (const std::string& message : messages) {
        LogInfo(message);
        LogError(message.c_str());
        LogDebug(std::string_view(message));
    }
    FlushLog();
    const std::string text = TestSupport::ReadFile(LogFile());
    for (const std::string& message : messages) {
        EXPECT_NE(text.find("] [info] " + message + "\n"), std::string::npos) << message;
        EXPECT_NE(text.find("] [error] " + message + "\n"), std::string::npos) << message;
        EXPECT_NE(text.find("] [debug] " + message + "\n"), std::string::npos) << message;
    }
}

TEST(Log, EachStartAppendsToTheSameFile)
{
    TestSupport::WriteFile(LogFile(), "[08:00:00] [info] an earlier run\n");
    InitializeLogging();
    LogInfo("first start");
    FlushLog();
    InitializeLogging();
    LogInfo("second start");
    FlushLog();

    const std::string text = TestSupport::ReadFile(LogFile());
    const std::regex shape(R"(\[08:00:00\] \[info\] an earlier run
\[\d\d:\d\d:\d\d\] \[info\] first start
\[\d\d:\d\d:\d\d\] \[info\] second start
)");
    EXPECT_TRUE(std::regex_match(text, shape)) << text;
}

TEST(Log, FollowsXdgDocumentsDir)
{
    const std::filesystem::path documents = TestSupport::TemporaryHome() / "elsewhere";
    setenv("XDG_DOCUMENTS_DIR", documents.c_str(), 1);
    InitializeLogging();
    LogInfo("hello");
    FlushLog();
    unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_NE(TestSupport::ReadFile(documents / "logs" / "log.txt").find("[info] hello\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(LogFile()));
}

TEST(Log, EditorListKeepsTheNewestFiftyLinesWhileTheFileKeepsAll)
{
    InitializeLogging();
    constexpr int Lines = 120;
    for (int i = 0; i < Lines; ++i) {
        LogInfo("line {}", i);
        ASSERT_LE(Engine::Editor::Instance().logLines.size(), Engine::Editor::MaxLogLines);
    }
    FlushLog();
    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_NE(lines.front().find("] [info] line 70\n"), std::string::npos) << lines.front();
    EXPECT_NE(lines.back().find("] [info] line 119\n"), std::string::npos) << lines.back();

    const std::string file = TestSupport::ReadFile(LogFile());
    EXPECT_NE(file.find("] [info] line 0\n"), std::string::npos);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), Lines);
    EXPECT_EQ(file.substr(file.size() - EditorText().size()), EditorText());
}

TEST(Log, ALogFileThatCannotBeOpenedIsReportedAndTheGameGoesOn)
{
    TestSupport::WriteFile(LogFile().parent_path(), "a file where the logs folder should be");
    testing::internal::CaptureStderr();
    ASSERT_NO_THROW(InitializeLogging());
    LogInfo("still logging");
    FlushLog();
    const std::string standardError = testing::internal::GetCapturedStderr();

    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("] [error] Failed opening file " + LogFile().string()), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("] [info] still logging\n"), std::string::npos) << lines[1];
    EXPECT_EQ(standardError, EditorText());
}

}  // namespace

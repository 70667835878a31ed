#include "core/Log.h"

#include "TestSupport.h"
#include "core/GameClock.h"
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

namespace {

// A message of `bytes` bytes, a two-byte character straddling the cut so that the cut must
// step back to keep the line valid UTF-8.
std::string HugeMessage(std::size_t bytes)
{
    std::string message(bytes, 'x');
    message.replace(4095, 2, "\xC3\xA9");
    return message;
}

}  // namespace

TEST(Log, AHugeLineIsCutToAFewKilobytesWithAMark)
{
    InitializeLogging();
    const std::string huge = HugeMessage(10'000'000);
    LogInfo("Script {} failed", huge);
    LogError(huge);
    FlushLog();

    const std::string file = TestSupport::ReadFile(LogFile());
    EXPECT_LT(file.size(), 10'000u);
    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    ASSERT_EQ(lines.size(), 2u);
    const std::string kept = std::string(4095, 'x');  // the cut stepped back over half a character
    EXPECT_TRUE(lines[0].ends_with("] [info] Script " + std::string(4096 - 7, 'x') + " [... cut: the message had 10000014 bytes]\n"))
        << lines[0].substr(0, 40);
    EXPECT_TRUE(lines[1].ends_with("] [error] " + kept + " [... cut: the message had 10000000 bytes]\n")) << lines[1].substr(0, 40);
    EXPECT_EQ(file, EditorText());
}

TEST(Log, TheFileRotatesAtItsSizeLimitKeepingThreeOldFiles)
{
    InitializeLogging({.fileBytes = 1000, .oldFiles = 3});
    for (int i = 0; i < 200; ++i)
        LogInfo("line {:03} of the rotation test", i);  // about 45 bytes each
    FlushLog();

    const std::filesystem::path folder = LogFile().parent_path();
    std::string all;
    for (const char* name : {"log.3.txt", "log.2.txt", "log.1.txt", "log.txt"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(std::filesystem::exists(folder / name));
        EXPECT_LE(std::filesystem::file_size(folder / name), 1000u);
        all += TestSupport::ReadFile(folder / name);
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "log.4.txt"));
    // The four files hold the newest lines, oldest first, and nothing is torn.
    EXPECT_NE(all.find("] [info] line 199 of the rotation test\n"), std::string::npos);
    EXPECT_EQ(all.find("] [info] line 000 of the rotation test\n"), std::string::npos);
    EXPECT_TRUE(TestSupport::ReadFile(LogFile()).ends_with("] [info] line 199 of the rotation test\n"));
    EXPECT_EQ(2 * std::count(all.begin(), all.end(), '\n'), std::count(all.begin(), all.end(), '['));
}

// Before, only back-to-back repeats were folded: two texts taking turns were each written in
// every frame. The windows run on the game clock, moved by hand here.
TEST(Log, ATextRepeatedWithinItsWindowIsWrittenAFewTimesThenCountedWhateverComesBetween)
{
    std::chrono::steady_clock::time_point now{};
    Engine::GameClock::Set([&now] { return now; });
    InitializeLogging({.repeatWindow = std::chrono::seconds(5)});
    const std::string missingA = "Attempted to run a script that doesn't exist! A";
    const std::string missingB = "Attempted to run a script that doesn't exist! B";
    for (int frame = 0; frame < 600; ++frame) {  // ten seconds at 60 frames a second
        LogError(missingA);
        LogError(missingB);
        if (frame == 0) {
            LogInfo("Loaded");
            LogError("Loaded");  // another level is another text
        }
        FlushLog();
        now += std::chrono::nanoseconds(16'666'667);
    }
    // The last windows end; a text that then stays away for a whole window is forgotten.
    now += std::chrono::seconds(6);
    FlushLog();
    now += std::chrono::seconds(6);
    FlushLog();
    LogError(missingA);
    FlushLog();
    Engine::GameClock::Set({});

    const std::vector<std::string> expected = {
        "[error] " + missingA, "[error] " + missingB, "[info] Loaded", "[error] Loaded",
        "[error] " + missingA, "[error] " + missingB, "[error] " + missingA, "[error] " + missingB,
        // Frames 3 to 299 are counted when frame 300 opens the next window, which counts all its own.
        "[error] \"" + missingA + "\" repeated 297 more times", "[error] \"" + missingB + "\" repeated 297 more times",
        "[error] \"" + missingA + "\" repeated 300 more times", "[error] \"" + missingB + "\" repeated 300 more times",
        "[error] " + missingA,
    };
    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    ASSERT_EQ(lines.size(), expected.size()) << EditorText();
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i].substr(11), expected[i] + "\n");
    EXPECT_EQ(TestSupport::ReadFile(LogFile()), EditorText());
}

// The game may end inside a window: the counts held back are written before it goes.
TEST(Log, CountsStillHeldBackAreWrittenAtExit)
{
    std::chrono::steady_clock::time_point now{};
    Engine::GameClock::Set([&now] { return now; });
    InitializeLogging({.repeatWindow = std::chrono::seconds(5)});
    for (int i = 0; i < 10; ++i)
        LogWarn("Hit GameObject Limit!");
    LogInfo("Quitting Game...");
    FlushLog();
    FlushLogAtExit();
    Engine::GameClock::Set({});

    const std::vector<std::string> expected = {
        "[warning] Hit GameObject Limit!", "[warning] Hit GameObject Limit!", "[warning] Hit GameObject Limit!",
        "[info] Quitting Game...", "[warning] \"Hit GameObject Limit!\" repeated 7 more times",
    };
    const std::vector<std::string>& lines = Engine::Editor::Instance().logLines;
    ASSERT_EQ(lines.size(), expected.size()) << EditorText();
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(lines[i].substr(11), expected[i] + "\n");
    EXPECT_EQ(TestSupport::ReadFile(LogFile()), EditorText());
}

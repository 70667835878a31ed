// The leaderboard file: which lines give an entry, how a damaged or oversized file is read,
// and how the file is replaced.
#include "TestSupport.h"
#include "core/LogCapture.h"

#include "data/SafeFileWriter.h"
#include "game/ScoreFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

using Engine::ScoreEntry;
using Engine::ScoreFile;

namespace {

std::filesystem::path BoardFile() { return TestSupport::TemporaryHome() / "board" / "Scoreboard.txt"; }

std::vector<ScoreEntry> ReadText(const std::string& text)
{
    TestSupport::WriteFile(BoardFile(), text);
    std::vector<ScoreEntry> entries;
    ScoreFile::Read(BoardFile(), entries);
    return entries;
}

bool LoggedContaining(const std::string& part)
{
    for (const std::string& message : CoreTest::LoggedMessages()) {
        if (message.find(part) != std::string::npos)
            return true;
    }
    return false;
}

struct LineCase {
    std::string line;
    std::optional<ScoreEntry> expected;
};

TEST(ScoreFile, LineGivesTheNameBeforeABlankAndTheScoreAfterIt)
{
    const std::vector<LineCase> cases = {
        {"PLAYER 120", ScoreEntry{"PLAYER", 120}},
        {"PLAYER 120\r", ScoreEntry{"PLAYER", 120}},  // written on Windows: the number ends at the CR
        {"PLAYER 0", ScoreEntry{"PLAYER", 0}},
        {"PLAYER 007", ScoreEntry{"PLAYER", 7}},
        {"PLAYER +7", ScoreEntry{"PLAYER", 7}},
        {"PLAYER  \t9", ScoreEntry{"PLAYER", 9}},  // white space before the number is skipped
        {"PLAYER 12abc", ScoreEntry{"PLAYER", 12}},
        {"PLAYER 2147483647", ScoreEntry{"PLAYER", 2147483647u}},
        {"ANN MARIE 120", ScoreEntry{"ANN MARIE", 120}},  // the first blank followed by a number splits
        {"X 5 7", ScoreEntry{"X", 5}},                    // one entry per line
        {"PLAYER", std::nullopt},
        {"PLAYER ", std::nullopt},
        {"PLAYER abc", std::nullopt},
        {"PLAYER -5", std::nullopt},
        {"PLAYER +-5", std::nullopt},
        {"PLAYER 2147483648", std::nullopt},
        {"PLAYER 4294967295", std::nullopt},
        {"PLAYER 99999999999999999999", std::nullopt},
    };
    for (const LineCase& lineCase : cases)
        EXPECT_EQ(ScoreFile::ReadLine(lineCase.line), lineCase.expected) << '"' << lineCase.line << '"';
}

TEST(ScoreFile, UnreadableAndOutOfRangeLinesAreSkippedWithALogLine)
{
    InitializeLogging();
    const std::vector<ScoreEntry> entries =
        ReadText("ANN 120\r\nNOBLANK\nBOB -5\n\nCAROL 2147483648\nDAVE 2147483647\nEVE abc\r\nFRED 3");
    const std::vector<ScoreEntry> expected = {{"ANN", 120}, {"DAVE", 2147483647u}, {"FRED", 3}};
    EXPECT_EQ(entries, expected);  // file order, a last line without a line feed included

    for (int line : {2, 3, 5, 7})
        EXPECT_TRUE(LoggedContaining("line " + std::to_string(line) + " holds no name")) << line;
    for (int line : {1, 4, 6, 8})  // readable and empty lines are not reported
        EXPECT_FALSE(LoggedContaining("line " + std::to_string(line) + " ")) << line;
}

TEST(ScoreFile, AMissingFileAppendsNothingAndLogsNothing)
{
    InitializeLogging();
    std::vector<ScoreEntry> entries = {{"KEPT", 1}};
    ScoreFile::Read(TestSupport::TemporaryHome() / "nowhere" / "Scoreboard.txt", entries);
    EXPECT_EQ(entries, (std::vector<ScoreEntry>{{"KEPT", 1}}));
    EXPECT_FALSE(LoggedContaining("Leaderboard file"));
}

TEST(ScoreFile, OnlyTheLinesThatCanMatterAreRead)
{
    InitializeLogging();

    // Empty lines after the last that can be read are no loss.
    std::string fullBoard;
    for (std::size_t i = 0; i < ScoreFile::MaxLines; ++i)
        fullBoard += "P " + std::to_string(i) + "\n";
    EXPECT_EQ(ReadText(fullBoard + "\n\r\n").size(), ScoreFile::MaxLines);
    EXPECT_FALSE(LoggedContaining("Leaderboard file"));

    // More lines than the game could show: the first ones are kept.
    std::string manyLines;
    for (std::size_t i = 0; i < 1000; ++i)
        manyLines += "P " + std::to_string(i) + "\n";
    const std::vector<ScoreEntry> first = ReadText(manyLines);
    ASSERT_EQ(first.size(), ScoreFile::MaxLines);
    EXPECT_EQ(first.back(), (ScoreEntry{"P", ScoreFile::MaxLines - 1}));
    EXPECT_TRUE(LoggedContaining("only its first 64 lines are read"));

    // An over-long line is skipped; the lines around it still count.
    const std::vector<ScoreEntry> aroundLong = ReadText("A 1\n" + std::string(5000, 'N') + " 2\nB 3\n");
    EXPECT_EQ(aroundLong, (std::vector<ScoreEntry>{{"A", 1}, {"B", 3}}));
    EXPECT_TRUE(LoggedContaining("line 2 is longer than 128 bytes; skipped"));

    // A line that the read limit cuts is not taken for a smaller score.
    const std::string filler(ScoreFile::MaxBytes - 5 - 4 - 1, 'x');
    const std::vector<ScoreEntry> cut = ReadText("A 1\n" + filler + "\nCUT 123456789\n");
    EXPECT_EQ(cut, (std::vector<ScoreEntry>{{"A", 1}}));
    EXPECT_TRUE(LoggedContaining("only its first 8256 bytes are read"));

    // Megabytes without a line end, or binary junk, give nothing and end nothing. The junk
    // holds blanks, digits, line feeds and carriage returns, each of which ends a line: the
    // lines alternate between too long to be a score line and short without a blank, the last
    // is short too, and each is reported.
    EXPECT_TRUE(ReadText(std::string(4 << 20, 'Z')).empty());
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>(i * 37 % 256);
    ASSERT_NE(junk.find(' '), std::string::npos);
    ASSERT_NE(junk.find('\n'), std::string::npos);
    ASSERT_NE(junk.find('\r'), std::string::npos);
    const std::size_t loggedBefore = CoreTest::LoggedMessages().size();
    EXPECT_TRUE(ReadText(junk).empty());
    const std::vector<std::string> logged = CoreTest::LoggedMessages();
    std::vector<std::string> reports;
    std::copy_if(logged.begin() + static_cast<std::ptrdiff_t>(loggedBefore), logged.end(), std::back_inserter(reports),
                 [](const std::string& message) { return message.starts_with("Leaderboard file "); });
    ASSERT_EQ(reports.size(), 33u) << testing::PrintToString(reports);
    for (std::size_t line = 1; line <= 33; ++line) {
        const std::string why = line % 2 == 1 && line < 33 ? " is longer than 128 bytes" : " holds no name";
        EXPECT_NE(reports[line - 1].find("line " + std::to_string(line) + why), std::string::npos) << reports[line - 1];
    }
}

TEST(ScoreFile, WriteReplacesTheWholeFileInListOrder)
{
    TestSupport::WriteFile(BoardFile(), "OLD 900\nOLD 800\nOLD 700\nOLD 600\nOLD 500\nOLD 400\nOLD 300\n");
    ScoreFile::Write(BoardFile(), {{"PLAYER", 250}, {"ANN", 4000000000u}, {"BOB", 0}});
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "PLAYER 250\nANN 4000000000\nBOB 0\n");
    EXPECT_FALSE(std::filesystem::exists(Engine::SafeFileWriter::TemporaryPathFor(BoardFile())));

    ScoreFile::Write(BoardFile(), {});
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "");
}

TEST(ScoreFile, AFileThatCannotBeReplacedKeepsWhatItHeld)
{
    InitializeLogging();
    TestSupport::WriteFile(BoardFile(), "OLD 900\n");
    // The temporary file cannot be made where a folder of its name stands.
    std::filesystem::create_directories(Engine::SafeFileWriter::TemporaryPathFor(BoardFile()));
    ScoreFile::Write(BoardFile(), {{"PLAYER", 250}});
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "OLD 900\n");
}

}  // namespace

namespace {

// Run as root in CI, where every open succeeds: the mode bits decide. A link is written
// through, so the file it names gets the text and the link stays a link.
TEST(ScoreFile, AReadOnlyFileIsRefusedAndALinkIsWrittenThrough)
{
    InitializeLogging();
    const std::filesystem::path folder = BoardFile().parent_path();
    TestSupport::WriteFile(BoardFile(), "OLD 900\n");
    std::filesystem::permissions(BoardFile(), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    ScoreFile::Write(BoardFile(), {{"PLAYER", 250}});
    EXPECT_EQ(TestSupport::ReadFile(BoardFile()), "OLD 900\n");
    EXPECT_EQ(CoreTest::CountLogged("Could not save the leaderboard to " + BoardFile().string() + ": the file is read-only"), 1u);
    std::filesystem::permissions(BoardFile(), std::filesystem::perms::owner_all);

    const std::filesystem::path real = folder / "real.txt";
    const std::filesystem::path link = folder / "link.txt";
    TestSupport::WriteFile(real, "OLD 900\n");
    std::filesystem::create_symlink("real.txt", link);
    ScoreFile::Write(link, {{"PLAYER", 250}});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TestSupport::ReadFile(real), "PLAYER 250\n");
}

}  // namespace

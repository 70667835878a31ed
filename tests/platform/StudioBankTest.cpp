// Reading sound-bank text: well-formed entries, and faulty lines that drop only their own entry.
#include <gtest/gtest.h>

#include "core/Log.h"
#include "editor/Editor.h"
#include "platform/StudioBank.h"

#include <sstream>
#include <string>
#include <vector>

namespace {

using Platform::StudioBank;
using Platform::StudioEventDefinition;

std::string AllLogLines()
{
    std::string text;
    for (const auto& line : Engine::Editor::Instance().logLines)
        text += line;
    return text;
}

int ReadText(const std::string& text, std::vector<StudioEventDefinition>& definitions)
{
    std::istringstream stream(text);
    return StudioBank("Banks/Test.bank").Read(stream, definitions);
}

TEST(StudioBank, ReadsEveryFieldOfAnEntry)
{
    InitializeLogging();
    const std::string text =
        "# comment before the format line\n"
        "\n"
        "soundbank 1\r\n"
        "event event:/Music/Levels/Level 1 & Level 2/Level1_LevelMusic\n"
        "    sound Sounds/Level 1.ogg  \n"
        "    loop yes\n"
        "    volume 0.25\n"
        "    parameter Paused 0 100 quiet 0.5 muffle 700\n"
        "    parameter Other -1 1\n"
        "event event:/Sound Effects/Player/Player_Jump\n"
        "sound Jump.ogg\n";
    std::vector<StudioEventDefinition> definitions;
    ASSERT_EQ(ReadText(text, definitions), Platform::StudioOk);
    ASSERT_EQ(definitions.size(), 2u);

    const auto& music = definitions[0];
    EXPECT_EQ(music.path, "event:/Music/Levels/Level 1 & Level 2/Level1_LevelMusic");
    EXPECT_EQ(music.sound, std::filesystem::path("Banks/Sounds/Level 1.ogg"));
    EXPECT_TRUE(music.loops);
    EXPECT_FLOAT_EQ(music.volume, 0.25f);
    EXPECT_EQ(music.line, 4);
    EXPECT_EQ(music.soundLine, 5);
    ASSERT_EQ(music.parameters.size(), 2u);
    EXPECT_EQ(music.parameters[0].name, "Paused");
    EXPECT_FLOAT_EQ(music.parameters[0].minimum, 0.0f);
    EXPECT_FLOAT_EQ(music.parameters[0].maximum, 100.0f);
    EXPECT_FLOAT_EQ(music.parameters[0].quietGain, 0.5f);
    EXPECT_FLOAT_EQ(music.parameters[0].muffleCutoffHz, 700.0f);
    EXPECT_FLOAT_EQ(music.parameters[1].quietGain, 1.0f);
    EXPECT_FLOAT_EQ(music.parameters[1].muffleCutoffHz, 0.0f);

    const auto& jump = definitions[1];
    EXPECT_FALSE(jump.loops);
    EXPECT_FLOAT_EQ(jump.volume, 1.0f);
    EXPECT_TRUE(jump.parameters.empty());
    EXPECT_EQ(AllLogLines().find("[error]"), std::string::npos);
}

TEST(StudioBank, TextThatIsNoBankIsRefusedWhole)
{
    InitializeLogging();
    const std::vector<std::string> texts = {"", "# only a comment\n", "event event:/A/B\nsound b.ogg\n",
                                            "soundbank 2\n", std::string("\x1a\x45\xdf\xa3RIFF\0\0bank", 14)};
    for (const auto& text : texts) {
        std::vector<StudioEventDefinition> definitions;
        EXPECT_EQ(ReadText(text, definitions), Platform::StudioErrorFileBad) << text;
        EXPECT_TRUE(definitions.empty());
    }
    EXPECT_NE(AllLogLines().find("Banks/Test.bank:1: not a sound bank"), std::string::npos);
}

TEST(StudioBank, AUtf8ByteOrderMarkBeforeTheFormatLineIsRead)
{
    InitializeLogging();
    for (const std::string& start : {std::string("\xEF\xBB\xBF"), std::string("\xEF\xBB\xBF# saved on Windows\r\n")}) {
        SCOPED_TRACE(start.size());
        std::vector<StudioEventDefinition> definitions;
        ASSERT_EQ(ReadText(start + "soundbank 1\r\nevent event:/Sound Effects/Player/Player_Jump\r\nsound Jump.ogg\r\n", definitions),
                  Platform::StudioOk);
        ASSERT_EQ(definitions.size(), 1u);
        EXPECT_EQ(definitions[0].sound, std::filesystem::path("Banks/Jump.ogg"));
    }
    // Only the start of the file may carry one.
    std::vector<StudioEventDefinition> definitions;
    EXPECT_EQ(ReadText("\n\xEF\xBB\xBFsoundbank 1\n", definitions), Platform::StudioErrorFileBad);
    EXPECT_EQ(AllLogLines().find("[error]"), AllLogLines().rfind("[error]")) << AllLogLines();
}

// Each case puts one faulty line (line 6) into the middle entry of three; only that entry goes.
TEST(StudioBank, FaultyLineDropsOnlyItsEntryAndNamesFileAndLine)
{
    struct Case {
        const char* faultyLine;
        const char* reported;
    };
    const std::vector<Case> cases = {
        {"volume loud", "'volume' must be a number from 0 to 1, not 'loud'"},
        {"volume 1.5", "'volume' must be a number from 0 to 1"},
        {"volume -0.1", "'volume' must be a number from 0 to 1"},
        {"volume 0.5x", "'volume' must be a number from 0 to 1"},
        {"loop sometimes", "'loop' must be 'yes' or 'no'"},
        {"pitch 2", "unknown key 'pitch'"},
        {"sound other.ogg", "'sound' is given twice"},
        {"parameter Paused 100 0", "'parameter' needs a name, a minimum and a larger maximum"},
        {"parameter Paused 0", "'parameter' needs a name"},
        {"parameter Paused 0 100 quiet 2", "parameter options are"},
        {"parameter Paused 0 100 echo 3", "parameter options are"},
        {"parameter Paused 0 100 muffle", "parameter options are"},
        {"parameter Level 0 1", "parameter 'Level' is given twice"},
    };
    for (const auto& c : cases) {
        InitializeLogging();
        Engine::Editor::Instance().logLines.clear();
        const std::string text = std::string("soundbank 1\n") +
                                 "event event:/Test/First\n"
                                 "sound first.ogg\n"
                                 "event event:/Test/Second\n"
                                 "sound second.ogg\n" +
                                 c.faultyLine + "\n" +
                                 "parameter Level 0 1\n"
                                 "event event:/Test/Third\n"
                                 "sound third.ogg\n";
        std::vector<StudioEventDefinition> definitions;
        EXPECT_EQ(ReadText(text, definitions), Platform::StudioOk) << c.faultyLine;
        ASSERT_EQ(definitions.size(), 2u) << c.faultyLine;
        EXPECT_EQ(definitions[0].path, "event:/Test/First");
        EXPECT_EQ(definitions[1].path, "event:/Test/Third");
        const std::string log = AllLogLines();
        EXPECT_NE(log.find("[error] Banks/Test.bank:"), std::string::npos) << c.faultyLine << "\n" << log;
        EXPECT_NE(log.find(c.reported), std::string::npos) << c.faultyLine << "\n" << log;
        EXPECT_NE(log.find("event 'event:/Test/Second' is left out"), std::string::npos) << log;
    }
}

TEST(StudioBank, EntryFaultsOutsideOneLine)
{
    struct Case {
        const char* text;
        std::vector<std::string> kept;
        const char* reported;
    };
    const std::vector<Case> cases = {
        {"soundbank 1\nsound lost.ogg\nevent event:/A/Kept\nsound a.ogg\n", {"event:/A/Kept"},
         "Banks/Test.bank:2: 'sound' stands before the first 'event' line"},
        {"soundbank 1\nevent event:/A/NoSound\nvolume 1\nevent event:/A/Kept\nsound a.ogg\n", {"event:/A/Kept"},
         "Banks/Test.bank:2: the event has no 'sound' line"},
        {"soundbank 1\nevent event:/A/Kept\nsound a.ogg\nevent event:/A/Last\n", {"event:/A/Kept"},
         "Banks/Test.bank:4: the event has no 'sound' line"},
        {"soundbank 1\nevent Music/Menu\nsound a.ogg\nevent event:/A/Kept\nsound a.ogg\n", {"event:/A/Kept"},
         "Banks/Test.bank:2: 'Music/Menu' is not an event path"},
        {"soundbank 1\nevent event:/A/\nsound a.ogg\nevent event:/A/Kept\nsound a.ogg\n", {"event:/A/Kept"},
         "is not an event path"},
        {"soundbank 1\nevent event:/A/Kept\nsound\nsound a.ogg\n", {}, "'sound' needs a file name"},
    };
    for (const auto& c : cases) {
        InitializeLogging();
        Engine::Editor::Instance().logLines.clear();
        std::vector<StudioEventDefinition> definitions;
        EXPECT_EQ(ReadText(c.text, definitions), Platform::StudioOk) << c.text;
        std::vector<std::string> kept;
        for (const auto& definition : definitions)
            kept.push_back(definition.path);
        EXPECT_EQ(kept, c.kept) << c.text;
        EXPECT_NE(AllLogLines().find(c.reported), std::string::npos) << c.text << "\n" << AllLogLines();
    }
}

}  // namespace

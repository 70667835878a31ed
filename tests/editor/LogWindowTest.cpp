#include "EditorFixture.h"

#include "core/Log.h"

#include <imgui_internal.h>

#include <array>
#include <string>
#include <vector>

namespace EditorTest {

namespace {

using Colour = std::array<float, 4>;

class LogWindow : public EditorFixture {
protected:
    void Draw()
    {
        Frame([this] { editor().ShowLogWindow(); });
    }
};

}  // namespace

TEST_F(LogWindow, LinesTakeTheColourOfTheFirstTagInKeyOrder)
{
    struct ColourCase {
        const char* line;
        Colour colour;
    };
    const std::vector<ColourCase> cases = {
        {"[12:00:00] [info] Loading Level\n", {1.0f, 1.0f, 1.0f, 1.0f}},
        {"[12:00:00] [warning] Cannot add\n", {1.0f, 0.78f, 1.0f, 1.0f}},
        {"[12:00:00] [error] Level not found\n", {1.0f, 0.78f, 0.78f, 1.0f}},
        {"[12:00:00] [debug] Saving Level\n", {0.78f, 0.78f, 1.0f, 1.0f}},
        {"[12:00:00] [info] seen a [debug] tag\n", {0.78f, 0.78f, 1.0f, 1.0f}},
        {"[12:00:00] [info] the text says [error]\n", {1.0f, 0.78f, 0.78f, 1.0f}},
        {"[12:00:00] [trace] no known tag\n", {1.0f, 1.0f, 1.0f, 1.0f}},
    };
    for (const ColourCase& colourCase : cases)
        EXPECT_EQ(editor().LogLineColor(colourCase.line), colourCase.colour) << colourCase.line;
}

TEST_F(LogWindow, KeepsTheNewestFiftyLinesAtTheNextDraw)
{
    std::vector<std::string>& lines = editor().logLines;
    lines.clear();
    for (int i = 0; i < 53; ++i)
        lines.push_back("[12:00:00] [info] line " + std::to_string(i) + "\n");
    Draw();
    ASSERT_EQ(lines.size(), 50u);
    EXPECT_EQ(lines.front(), "[12:00:00] [info] line 3\n");
    EXPECT_EQ(lines.back(), "[12:00:00] [info] line 52\n");
}

TEST_F(LogWindow, FollowsTheEndOnceAfterNewLinesAndThenStaysWhereTheUserScrolled)
{
    std::vector<std::string>& lines = editor().logLines;
    lines.clear();
    for (int i = 0; i < 50; ++i)
        lines.push_back("[12:00:00] [info] line " + std::to_string(i) + "\n");
    editor().scrollLogToBottom = true;
    Draw();
    Draw();  // the scroll asked for in one frame is applied in the next
    EXPECT_FALSE(editor().scrollLogToBottom);
    ImGuiWindow* text = FirstChild("Log");
    ASSERT_NE(text, nullptr);
    EXPECT_GT(text->Scroll.y, 0.0f);

    text->Scroll.y = 0.0f;
    Draw();
    Draw();
    EXPECT_EQ(text->Scroll.y, 0.0f);

    LogInfo("one more line");
    EXPECT_TRUE(editor().scrollLogToBottom);
    Draw();
    Draw();
    EXPECT_GT(text->Scroll.y, 0.0f);
}

}  // namespace EditorTest

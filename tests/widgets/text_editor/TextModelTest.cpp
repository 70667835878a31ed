#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "UiHarness.h"

namespace {

TEST(TextModel, SetTextSplitsLinesAndGivesTheSameBytesBack)
{
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"", {}},
        {"a\n", {"a", ""}},
        {"a\r\nb", {"a\r", "b"}},  // carriage returns stay glyphs
        {"ab\n\ncd", {"ab", "", "cd"}},
        {std::string("x\0y\n\t", 5), {std::string("x\0y", 3), "\t"}},
    };
    for (const Case& c : cases) {
        TextEditor editor;
        editor.SetText(c.text);
        ASSERT_EQ(editor.GetLineCount(), static_cast<int>(c.lines.size())) << c.text;
        for (int line = 0; line < editor.GetLineCount(); ++line)
            EXPECT_EQ(LineText(editor, line), c.lines[static_cast<std::size_t>(line)]) << c.text;
        EXPECT_EQ(editor.GetText(), c.text);
    }
}

TEST(TextModel, FirstCharacterAfterAnEmptyTextCreatesTheLine)
{
    TextEditor editor;
    editor.SetText("");
    ASSERT_EQ(editor.GetLineCount(), 0);
    editor.EnterCharacter('a');
    EXPECT_EQ(editor.GetLineCount(), 1);
    EXPECT_EQ(editor.GetText(), "a");
    editor.Undo();
    EXPECT_EQ(editor.GetText(), "");
}

TEST(TextModel, SanitizeCoordinatesClampsIntoTheText)
{
    struct Case {
        Coordinates in;
        Coordinates out;
    };
    TextEditor editor;
    editor.SetText("abcdef\nxyz");
    const std::vector<Case> cases = {
        {{7, 99}, {1, 3}}, {{0, 99}, {0, 6}}, {{1, 2}, {1, 2}}, {{2, 0}, {1, 0}}, {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editor.SanitizeCoordinates(c.in), c.out) << c.in.mLine << "," << c.in.mColumn;

    editor.SetText("");
    EXPECT_EQ(editor.SanitizeCoordinates({5, 5}), Coordinates(0, 0));
}

TEST(TextModel, CellsToColumnExpandsTabsToTheNextStop)
{
    struct Case {
        std::string line;
        int column;
        int cells;
    };
    const std::vector<Case> cases = {
        {"\ta", 2, 5}, {"\ta", 1, 4}, {"ab\tc", 3, 4}, {"abcd\t", 5, 8}, {"", 0, 0}, {"abc", 9, 3},
    };
    for (const Case& c : cases) {
        TextEditor editor;
        editor.SetText(c.line);
        EXPECT_EQ(editor.CellsToColumn({0, c.column}), c.cells) << c.line << " column " << c.column;
    }
}

TEST(TextModel, TextRangesAreEndExclusiveAndJoinLinesWithOneLineFeed)
{
    struct Case {
        Coordinates start;
        Coordinates end;
        std::string text;
    };
    TextEditor editor;
    editor.SetText("ab\ncd\n\nef");
    const std::vector<Case> cases = {
        {{0, 1}, {1, 1}, "b\nc"},
        {{0, 0}, {0, 2}, "ab"},
        {{0, 2}, {1, 0}, "\n"},
        {{1, 0}, {3, 1}, "cd\n\ne"},
        {{0, 0}, {4, 0}, "ab\ncd\n\nef"},
        {{0, 0}, {9, 9}, "ab\ncd\n\nef"},  // an end past the text stops at its end
        {{1, 1}, {1, 1}, ""},
        {{1, 1}, {0, 1}, ""},
        {{0, 5}, {1, 9}, "\ncd"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(editor.GetTextRange(c.start, c.end), c.text)
            << c.start.mLine << "," << c.start.mColumn << " to " << c.end.mLine << "," << c.end.mColumn;
}

// A new, shorter text must not leave the cursor or the selection past its end: every
// operation that reads the selected glyphs would read outside the lines.
TEST(TextModel, SetTextBringsCursorAndSelectionInsideTheNewText)
{
    UiHarness ui;
    TextEditor editor;
    std::string longText;
    for (int line = 0; line < 20; ++line)
        longText += "line number " + std::to_string(line) + "\n";
    editor.SetText(longText);
    editor.MoveBottom();
    editor.MoveUp(1);
    editor.MoveEnd(true);
    editor.SetSelection({15, 0}, {19, 0});
    ASSERT_TRUE(editor.HasSelection());

    editor.SetText("ab\ncd");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 2));
    EXPECT_EQ(editor.GetSelectionStart(), Coordinates(1, 0));
    EXPECT_EQ(editor.GetSelectionEnd(), Coordinates(1, 0));
    EXPECT_FALSE(editor.HasSelection());
    EXPECT_EQ(editor.GetSelectedText(), "");

    editor.Copy();
    EXPECT_EQ(ui.clipboard, "cd");
    editor.MoveRight();
    editor.MoveEnd(true);
    editor.EnterCharacter('!');
    EXPECT_EQ(editor.GetText(), "ab\ncd!");
    editor.Backspace();
    editor.Delete();
    EXPECT_EQ(editor.GetText(), "ab\ncd");
    EXPECT_EQ(editor.GetUndoIndex(), 2);
}

// Line numbers of breakpoints and markers are 1-based; edits above them move them with their
// lines, and the entries of removed lines go.
TEST(TextModel, BreakpointsAndMarkersFollowTheirLines)
{
    TextEditor editor;
    editor.SetText("one\ntwo\nthree\nfour\nfive");
    editor.SetBreakpoints({2, 4});
    editor.SetErrorMarkers({{3, "bad"}, {5, "worse"}});

    editor.MoveEnd();
    editor.EnterCharacter('\n');
    EXPECT_EQ(editor.GetBreakpoints(), (TextEditor::Breakpoints{3, 5}));
    EXPECT_EQ(editor.GetErrorMarkers(), (TextEditor::ErrorMarkers{{4, "bad"}, {6, "worse"}}));

    // Remove "two" and "three" (now lines 3 and 4): the line of "two" takes "four" in, and
    // the two lines after it go.
    editor.SetSelection({2, 0}, {4, 0});
    editor.Delete();
    EXPECT_EQ(editor.GetText(), "one\n\nfour\nfive");
    EXPECT_EQ(editor.GetBreakpoints(), (TextEditor::Breakpoints{3}));
    EXPECT_EQ(editor.GetErrorMarkers(), (TextEditor::ErrorMarkers{{4, "worse"}}));
}

}  // namespace

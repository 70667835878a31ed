#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "UiHarness.h"

namespace {

// An editor holding the text with the cursor at the position and no selection.
void Place(TextEditor& editor, const std::string& text, Coordinates cursor)
{
    editor.SetText(text);
    editor.MoveTop();
    editor.MoveDown(cursor.mLine);
    for (int column = 0; column < cursor.mColumn; ++column)
        editor.MoveRight();
    ASSERT_EQ(editor.GetCursorPosition(), cursor);
}

TEST(TextEditing, TypingOverASelectionIsOneStepThatUndoesToTheSelection)
{
    TextEditor editor;
    Place(editor, "hello world", {0, 0});
    editor.SetSelection({0, 6}, {0, 11});
    editor.EnterCharacter('X');
    EXPECT_EQ(editor.GetText(), "hello X");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 7));
    EXPECT_FALSE(editor.HasSelection());
    EXPECT_EQ(editor.GetUndoBufferSize(), 1);

    editor.Undo();
    EXPECT_EQ(editor.GetText(), "hello world");
    EXPECT_EQ(editor.GetSelectionStart(), Coordinates(0, 6));
    EXPECT_EQ(editor.GetSelectionEnd(), Coordinates(0, 11));
    editor.Redo();
    EXPECT_EQ(editor.GetText(), "hello X");
}

// Splits and joins of lines, each undone and redone.
TEST(TextEditing, LineSplitsAndJoinsUndoExactly)
{
    struct Case {
        const char* name;
        std::string text;
        Coordinates cursor;
        void (TextEditor::*edit)();
        std::string after;
        Coordinates cursorAfter;
    };
    const std::vector<Case> cases = {
        {"backspace at column 0 of line 3", "a\nbb\nccc\nd", {2, 0}, &TextEditor::Backspace, "a\nbbccc\nd", {1, 2}},
        {"delete at a line end", "a\nbb\nccc", {1, 2}, &TextEditor::Delete, "a\nbbccc", {1, 2}},
        {"backspace inside a line", "abc", {0, 2}, &TextEditor::Backspace, "ac", {0, 1}},
        {"delete inside a line", "abc", {0, 1}, &TextEditor::Delete, "ac", {0, 1}},
    };
    for (const Case& c : cases) {
        TextEditor editor;
        Place(editor, c.text, c.cursor);
        (editor.*c.edit)();
        EXPECT_EQ(editor.GetText(), c.after) << c.name;
        EXPECT_EQ(editor.GetCursorPosition(), c.cursorAfter) << c.name;
        editor.Undo();
        EXPECT_EQ(editor.GetText(), c.text) << c.name;
        EXPECT_EQ(editor.GetCursorPosition(), c.cursor) << c.name;
        editor.Redo();
        EXPECT_EQ(editor.GetText(), c.after) << c.name;
    }
}

TEST(TextEditing, EnterSplitsTheLineWithoutIndentation)
{
    TextEditor editor;
    Place(editor, "    local x = 1", {0, 10});
    editor.EnterCharacter('\n');
    EXPECT_EQ(editor.GetText(), "    local \nx = 1");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 0));
    editor.Undo();
    EXPECT_EQ(editor.GetText(), "    local x = 1");
    EXPECT_EQ(editor.GetLineCount(), 1);
}

TEST(TextEditing, EditsThatFindNothingToDoMakeNoRecord)
{
    UiHarness ui;
    TextEditor editor;
    Place(editor, "ab\ncd", {1, 2});
    editor.Delete();  // end of the last line
    Place(editor, "ab\ncd", {0, 0});
    editor.Backspace();  // start of the text
    editor.Cut();        // nothing selected
    ui.clipboard.clear();
    editor.Paste();  // empty clipboard
    EXPECT_EQ(editor.GetText(), "ab\ncd");
    EXPECT_EQ(editor.GetUndoBufferSize(), 0);
}

TEST(TextEditing, RightAtTheEndOfTheTextStays)
{
    TextEditor editor;
    Place(editor, "ab\ncd", {1, 2});
    editor.MoveRight();
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 2));
    editor.MoveRight(1, false, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 2));
}

// The anchor stays where the selection began and the other end follows the cursor.
TEST(TextEditing, ShiftMovesGrowAndShrinkTheSelectionFromItsAnchor)
{
    TextEditor editor;
    Place(editor, "abcdef\nghij", {0, 0});
    editor.MoveRight(1, true);
    editor.MoveRight(1, true);
    EXPECT_EQ(editor.GetSelectedText(), "ab");
    editor.MoveLeft(1, true);
    EXPECT_EQ(editor.GetSelectedText(), "a");
    EXPECT_EQ(editor.GetSelectionStart(), Coordinates(0, 0));

    Place(editor, "abcdef\nghij", {1, 2});
    editor.MoveUp(1, true);
    EXPECT_EQ(editor.GetSelectedText(), "cdef\ngh");
    editor.MoveEnd(true);
    EXPECT_EQ(editor.GetSelectedText(), "\ngh");
    // The text ends select from the cursor as it stands.
    editor.MoveTop(true);
    EXPECT_EQ(editor.GetSelectedText(), "abcdef");
    editor.MoveBottom(true);
    EXPECT_EQ(editor.GetSelectedText(), "abcdef\n");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 0));

    // Shift+Down on the last line changes nothing.
    editor.MoveDown(1, true);
    EXPECT_EQ(editor.GetSelectedText(), "abcdef\n");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 0));
}

// Words follow the colouring: a coloured identifier is one word, uncoloured text one per line.
TEST(TextEditing, WordMovesFollowTheColouring)
{
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    Place(editor, "local speed = 10", {0, 10});
    editor.MoveLeft(1, false, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 0)) << "uncoloured: the whole line is one word";

    ColorizeAll(editor);
    editor.MoveEnd();
    for (int column = 0; column < 6; ++column)
        editor.MoveLeft();
    ASSERT_EQ(editor.GetCursorPosition(), Coordinates(0, 10));
    editor.MoveLeft(1, false, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 6));
    editor.MoveRight(1, false, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 11));
    editor.MoveLeft(1, true, true);
    EXPECT_EQ(editor.GetSelectedText(), "speed");
}

TEST(TextEditing, NewEditAfterUndoDropsTheRedoableSteps)
{
    TextEditor editor;
    editor.SetText("");
    for (const char ch : std::string("abc"))
        editor.EnterCharacter(ch);
    editor.Undo();
    editor.Undo();
    EXPECT_TRUE(editor.CanRedo());
    editor.EnterCharacter('z');
    EXPECT_EQ(editor.GetText(), "az");
    EXPECT_EQ(editor.GetUndoBufferSize(), 2);
    EXPECT_FALSE(editor.CanRedo());
    editor.Undo();
    editor.Undo();
    EXPECT_EQ(editor.GetText(), "");
    EXPECT_FALSE(editor.CanUndo());
}

TEST(TextEditing, CopyWithoutASelectionTakesTheWholeLine)
{
    UiHarness ui;
    TextEditor editor;
    Place(editor, "first\nsecond line\nthird", {1, 3});
    editor.Copy();
    EXPECT_EQ(ui.clipboard, "second line");
    editor.SetSelection({0, 3}, {1, 2});
    editor.Copy();
    EXPECT_EQ(ui.clipboard, "st\nse");
}

TEST(TextEditing, PasteOfSeveralLinesOverASelectionIsOneStep)
{
    UiHarness ui;
    TextEditor editor;
    Place(editor, "local a = 1\nreturn a", {0, 0});
    editor.SetSelection({0, 10}, {0, 11});
    ui.clipboard = "{\r\n  x = 1,\r\n}";
    editor.Paste();
    EXPECT_EQ(editor.GetText(), "local a = {\n  x = 1,\n}\nreturn a");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(2, 1));
    EXPECT_EQ(editor.GetUndoBufferSize(), 1);
    editor.Undo();
    EXPECT_EQ(editor.GetText(), "local a = 1\nreturn a");
    editor.Redo();
    EXPECT_EQ(editor.GetText(), "local a = {\n  x = 1,\n}\nreturn a");
}

TEST(TextEditing, CutRemovesTheSelectionIntoTheClipboard)
{
    UiHarness ui;
    TextEditor editor;
    Place(editor, "one\ntwo\nthree", {0, 0});
    editor.SetSelection({0, 2}, {2, 1});
    editor.Cut();
    EXPECT_EQ(ui.clipboard, "e\ntwo\nt");
    EXPECT_EQ(editor.GetText(), "onhree");
    editor.Undo();
    EXPECT_EQ(editor.GetText(), "one\ntwo\nthree");
}

// Select all passes the line count as its end line: everything is selected, the last line too.
TEST(TextEditing, SelectingToThePastTheEndLineSelectsEverything)
{
    TextEditor editor;
    editor.SetText("ab\ncd");
    editor.SetSelection({0, 0}, {editor.GetLineCount(), 0});
    EXPECT_EQ(editor.GetSelectedText(), "ab\ncd");
    editor.Delete();
    EXPECT_EQ(editor.GetText(), "");
}

// Text loaded from a file may hold any byte; undo puts all of it back.
TEST(TextEditing, UndoBringsBackTextHoldingZeroBytes)
{
    TextEditor editor;
    const std::string text("a\0b\nc\0", 6);
    editor.SetText(text);
    editor.SetSelection({0, 0}, {editor.GetLineCount(), 0});
    editor.Backspace();
    EXPECT_EQ(editor.GetText(), "");
    editor.Undo();
    EXPECT_EQ(editor.GetText(), text);
}


// Carriage returns loaded with the text are glyphs like any other: every step that removes or
// overwrites one must put it back on undo, and redo must give the edited text back exactly.
TEST(TextEditing, UndoAndRedoGiveBackCarriageReturnsByteForByte)
{
    struct Case {
        const char* name;
        std::string text;
        std::function<void(TextEditor&)> edit;
        std::string after;
    };
    const auto selectAll = [](TextEditor& editor) { editor.SetSelection({0, 0}, {editor.GetLineCount(), 0}); };
    const std::vector<Case> cases = {
        {"backspace over a carriage return", "a\rb",
         [](TextEditor& editor) {
             editor.MoveEnd();
             editor.MoveLeft();
             editor.Backspace();
         },
         "ab"},
        {"delete of a whole CRLF script", "local a = 1\r\nprint(a)\r\n",
         [&](TextEditor& editor) {
             selectAll(editor);
             editor.Delete();
         },
         ""},
        {"delete at a CRLF line end", "a\r\nb",
         [](TextEditor& editor) {
             editor.MoveRight();
             editor.Delete();
             editor.Delete();
         },
         "ab"},
        {"typing over a selection holding carriage returns", "x\r\ny\r\nz",
         [](TextEditor& editor) {
             editor.SetSelection({0, 1}, {2, 0});
             editor.EnterCharacter('-');
         },
         "x-z"},
        {"a typed carriage return", "ab",
         [](TextEditor& editor) {
             editor.MoveRight();
             editor.EnterCharacter('\r');
         },
         "a\rb"},
    };
    for (const Case& c : cases) {
        UiHarness ui;
        TextEditor editor;
        editor.SetText(c.text);
        c.edit(editor);
        ASSERT_EQ(editor.GetText(), c.after) << c.name;
        while (editor.CanUndo())
            editor.Undo();
        EXPECT_EQ(editor.GetText(), c.text) << c.name;
        while (editor.CanRedo())
            editor.Redo();
        EXPECT_EQ(editor.GetText(), c.after) << c.name;
        while (editor.CanUndo())
            editor.Undo();
        EXPECT_EQ(editor.GetText(), c.text) << c.name << ", undone a second time";
    }
}

}  // namespace

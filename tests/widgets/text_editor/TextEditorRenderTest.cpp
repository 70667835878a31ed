#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "UiHarness.h"

namespace {

std::string NumberedLines(int count)
{
    std::string text;
    for (int line = 0; line < count; ++line)
        text += "line " + std::to_string(line) + (line + 1 < count ? "\n" : "");
    return text;
}

class TextEditorRender : public testing::Test {
protected:
    void SetUp() override
    {
        editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    }

    // Sets the text and draws a few frames, so that the widget exists, is coloured and has
    // the keyboard focus (a click on the text's first cell).
    void Show(const std::string& text)
    {
        editor.SetText(text);
        for (int frame = 0; frame < 4; ++frame)
            ui.Frame(editor);
        ui.Click(editor, ui.CellCentre(0, 0));
    }

    void Press(ImGuiKey key, bool ctrl = false, bool shift = false, bool alt = false)
    {
        ui.SetModifiers(ctrl, shift, alt);
        ui.PressNamedKey(key);
        ui.Frame(editor);
        ui.SetModifiers(false, false, false);
        ui.Frame(editor);
    }

    void PressScancode(int scancode, bool ctrl = false, bool shift = false)
    {
        ui.SetModifiers(ctrl, shift, false);
        ui.PressKey(scancode);
        ui.Frame(editor);
        ui.SetModifiers(false, false, false);
        ui.Frame(editor);
    }

    UiHarness ui;
    TextEditor editor;
};

TEST_F(TextEditorRender, ClicksMapToTextPositions)
{
    struct Case {
        const char* where;
        int line;
        float cell;
        Coordinates expected;
    };
    const std::vector<Case> cases = {
        {"inside a line", 0, 3.0f, {0, 3}},
        {"in the line-number gutter", 1, -4.0f, {1, 0}},
        {"right of a line's end", 0, 30.0f, {0, 11}},
        {"below the last line", 10, 2.0f, {2, 0}},
        {"on the first tab's stop", 1, 2.0f, {1, 1}},
        {"on the second tab's stop", 1, 5.0f, {1, 2}},
        {"on the glyph after the tabs", 1, 8.6f, {1, 3}},
    };
    Show("local a = 1\n\t\tb = 2\nend");
    for (const Case& c : cases) {
        ui.Click(editor, ui.CellCentre(c.line, c.cell));
        EXPECT_EQ(editor.GetCursorPosition(), c.expected) << c.where;
        EXPECT_FALSE(editor.HasSelection()) << c.where;
    }
}

TEST_F(TextEditorRender, ArrowAndPageKeysMoveTheCursor)
{
    Show(NumberedLines(40));
    // A 200-pixel child with 16-pixel lines pages by floor(180 / 16) - 4 = 7 lines.
    Press(ImGuiKey_PageDown);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(7, 0));
    Press(ImGuiKey_PageDown, false, true);
    EXPECT_EQ(editor.GetSelectedText(), "line 7\nline 8\nline 9\nline 10\nline 11\nline 12\nline 13\n");
    Press(ImGuiKey_PageUp);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(7, 0));
    Press(ImGuiKey_End);
    Press(ImGuiKey_RightArrow);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(8, 0));
    Press(ImGuiKey_LeftArrow, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(7, 6));

    // Shift+Down on the last line changes nothing.
    Press(ImGuiKey_End, true);
    ASSERT_EQ(editor.GetCursorPosition(), Coordinates(39, 0));
    Press(ImGuiKey_DownArrow, false, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(39, 0));
    EXPECT_FALSE(editor.HasSelection());
    Press(ImGuiKey_Home, true);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 0));
}

// A child too short for four lines of context still pages by one line, in the right direction.
TEST_F(TextEditorRender, PagesInAShortChildMoveOneLine)
{
    Show(NumberedLines(10));
    const ImVec2 shortChild(400.0f, 60.0f);
    ui.Frame(editor, shortChild);
    ui.PressNamedKey(ImGuiKey_PageDown);
    ui.Frame(editor, shortChild);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(1, 0));
    ui.PressNamedKey(ImGuiKey_PageUp);
    ui.Frame(editor, shortChild);
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(0, 0));
}

// The view follows the cursor: after Ctrl+End a click at the top of the child lands far down.
TEST_F(TextEditorRender, TheViewScrollsToTheCursor)
{
    Show(NumberedLines(100));
    Press(ImGuiKey_End, true);
    ui.Frame(editor);
    ui.Click(editor, ui.CellCentre(0, 1));
    EXPECT_GE(editor.GetCursorPosition().mLine, 80);
}

TEST_F(TextEditorRender, CtrlClickSelectsWholeWordsAndDragExtendsByWords)
{
    Show("local speed = 10");
    ui.SetModifiers(true, false, false);
    ui.Click(editor, ui.CellCentre(0, 8));
    EXPECT_EQ(editor.GetSelectedText(), "speed");
    ui.Click(editor, ui.CellCentre(0, 6));
    EXPECT_FALSE(editor.HasSelection()) << "on a word's first glyph nothing is selected";

    ui.MoveMouse(ui.CellCentre(0, 8));
    ui.Frame(editor);
    ui.SetMouseDown(true);
    ui.Frame(editor);
    ui.SetModifiers(false, false, false);
    for (const float cell : {10.0f, 12.5f, 15.0f}) {
        ui.MoveMouse(ui.CellCentre(0, cell));
        ui.Frame(editor);
    }
    EXPECT_EQ(editor.GetSelectedText(), "speed = 10");
    ui.SetMouseDown(false);
    ui.Frame(editor);

    // Once the button is up, a plain drag selects glyph by glyph again.
    ui.MoveMouse(ui.CellCentre(0, 7));
    ui.Frame(editor);
    ui.SetMouseDown(true);
    ui.Frame(editor);
    ui.MoveMouse(ui.CellCentre(0, 10));
    ui.Frame(editor);
    EXPECT_EQ(editor.GetSelectedText(), "pee");
    ui.SetMouseDown(false);
    ui.Frame(editor);
}

TEST_F(TextEditorRender, DoubleClickSelectsTheWordUnderTheMouse)
{
    Show("print(speed)");
    ui.MoveMouse(ui.CellCentre(0, 8));
    for (const bool down : {true, false, true, false}) {
        ui.SetMouseDown(down);
        ui.Frame(editor);
    }
    EXPECT_EQ(editor.GetSelectedText(), "speed");
}

TEST_F(TextEditorRender, TypedCharactersEnterAndTabAreInserted)
{
    Show("");
    ui.Type("if x");
    ui.Frame(editor);
    Press(ImGuiKey_Enter);
    Press(ImGuiKey_Tab);
    ui.Type("y\xC3\xA9\r");  // the e-acute is beyond one byte and is not typed
    ui.Frame(editor);
    EXPECT_EQ(editor.GetText(), "if x\n\ty\n");
    EXPECT_EQ(editor.GetCursorPosition(), Coordinates(2, 0));
    EXPECT_TRUE(ImGui::GetIO().WantCaptureKeyboard);
}

TEST_F(TextEditorRender, UndoAndRedoKeys)
{
    Show("");
    ui.Type("ab");
    ui.Frame(editor);
    PressScancode(SDL_SCANCODE_Z, true);
    EXPECT_EQ(editor.GetText(), "a");
    PressScancode(SDL_SCANCODE_Y, true);
    EXPECT_EQ(editor.GetText(), "ab");
    Press(ImGuiKey_Backspace, false, false, true);
    EXPECT_EQ(editor.GetText(), "a");
    Press(ImGuiKey_Backspace);
    EXPECT_EQ(editor.GetText(), "");
}

TEST_F(TextEditorRender, ClipboardKeys)
{
    Show("alpha beta");
    ui.Click(editor, ui.CellCentre(0, 0));
    Press(ImGuiKey_End, false, true);
    PressScancode(SDL_SCANCODE_C, true);
    EXPECT_EQ(ui.clipboard, "alpha beta");
    PressScancode(SDL_SCANCODE_X, true);
    EXPECT_EQ(editor.GetText(), "");
    PressScancode(SDL_SCANCODE_V, true);
    PressScancode(SDL_SCANCODE_INSERT, false, true);
    EXPECT_EQ(editor.GetText(), "alpha betaalpha beta");
    Press(ImGuiKey_Home, false, true);
    Press(ImGuiKey_Delete, false, true);  // Shift+Delete cuts
    EXPECT_EQ(editor.GetText(), "");
    EXPECT_EQ(ui.clipboard, "alpha betaalpha beta");
}

// Insert toggles overwrite; undo brings back the glyph that was typed over.
TEST_F(TextEditorRender, OverwriteModeAndItsUndo)
{
    Show("abc");
    PressScancode(SDL_SCANCODE_INSERT);
    ASSERT_TRUE(editor.IsOverwrite());
    ui.Type("XY");
    ui.Frame(editor);
    EXPECT_EQ(editor.GetText(), "XYc");
    PressScancode(SDL_SCANCODE_Z, true);
    PressScancode(SDL_SCANCODE_Z, true);
    EXPECT_EQ(editor.GetText(), "abc");
    PressScancode(SDL_SCANCODE_Y, true);
    EXPECT_EQ(editor.GetText(), "Xbc");
    PressScancode(SDL_SCANCODE_INSERT);
    EXPECT_FALSE(editor.IsOverwrite());
}

// Typed over, a carriage return comes back with undo.
TEST_F(TextEditorRender, OverwritingACarriageReturnUndoesToIt)
{
    Show("a\rb");
    Press(ImGuiKey_RightArrow);
    PressScancode(SDL_SCANCODE_INSERT);
    ui.Type("X");
    ui.Frame(editor);
    ASSERT_EQ(editor.GetText(), "aXb");
    PressScancode(SDL_SCANCODE_Z, true);
    EXPECT_EQ(editor.GetText(), "a\rb");
    PressScancode(SDL_SCANCODE_Y, true);
    EXPECT_EQ(editor.GetText(), "aXb");
}

// "abc" is selected with Shift+Right and then edited away. Whatever the edit, the next
// Shift+Right selects from the cursor, so the next Delete removes only what is shown selected.
TEST_F(TextEditorRender, ShiftSelectingAfterAnEditStartsAtTheCursor)
{
    struct Case {
        const char* name;
        std::function<void()> edit;
        std::string edited;
        std::string selected;  // by the Shift+Right after the edit
    };
    const auto type = [this](const char* text) {
        ui.Type(text);
        ui.Frame(editor);
    };
    const std::vector<Case> cases = {
        {"typing", [&] { type("xyz"); }, "xyzdef", "d"},
        {"delete", [&] { Press(ImGuiKey_Delete); }, "def", "d"},
        {"backspace", [&] { Press(ImGuiKey_Backspace); }, "def", "d"},
        {"paste",
         [&] {
             ui.clipboard = "123";
             PressScancode(SDL_SCANCODE_V, true);
         },
         "123def", "d"},
        {"cut", [&] { PressScancode(SDL_SCANCODE_X, true); }, "def", "d"},
        {"undo",
         [&] {
             Press(ImGuiKey_Delete);
             type("x");
             PressScancode(SDL_SCANCODE_Z, true);
         },
         "def", "d"},
        {"redo",
         [&] {
             Press(ImGuiKey_Delete);
             PressScancode(SDL_SCANCODE_Z, true);
             PressScancode(SDL_SCANCODE_Y, true);
         },
         "def", "d"},
        // Undo brings the selection back; Shift+Right extends it from the cursor's end.
        {"undo to a selection",
         [&] {
             Press(ImGuiKey_Delete);
             PressScancode(SDL_SCANCODE_Z, true);
         },
         "abcdef", "abcd"},
    };
    for (const Case& c : cases) {
        ui.Frame(editor, ImVec2(400.0f, 200.0f), 1.0f);  // so that Show's click is no double click
        Show("abcdef");
        for (int step = 0; step < 3; ++step)
            Press(ImGuiKey_RightArrow, false, true);
        ASSERT_EQ(editor.GetSelectedText(), "abc");
        c.edit();
        ASSERT_EQ(editor.GetText(), c.edited) << c.name;
        Press(ImGuiKey_RightArrow, false, true);
        EXPECT_EQ(editor.GetSelectedText(), c.selected) << c.name;
        const std::string expected = editor.GetText().erase(c.edited.find(c.selected), c.selected.size());
        Press(ImGuiKey_Delete);
        EXPECT_EQ(editor.GetText(), expected) << c.name;
    }
}

TEST_F(TextEditorRender, UnfocusedWidgetIgnoresKeysAndDrawsNoCursor)
{
    const TextEditor::Palette& palette = TextEditor::GetDarkPalette();
    const auto colour = [&](PaletteIndex index) { return palette[static_cast<std::size_t>(index)]; };
    editor.SetText("abc");
    bool cursorDrawn = false;
    for (int frame = 0; frame < 6; ++frame) {
        ui.PressNamedKey(ImGuiKey_Delete);
        ui.Type("x");
        ui.Frame(editor, ImVec2(400.0f, 200.0f), 0.3f);
        cursorDrawn = cursorDrawn || ui.DrewColour(colour(PaletteIndex::Cursor));
    }
    EXPECT_EQ(editor.GetText(), "abc");
    EXPECT_TRUE(ui.DrewColour(colour(PaletteIndex::CurrentLineFillUnfocused)));
    EXPECT_FALSE(ui.DrewColour(colour(PaletteIndex::CurrentLineFill)));
    EXPECT_FALSE(cursorDrawn);

    ui.Click(editor, ui.CellCentre(0, 1));
    for (int frame = 0; frame < 6; ++frame) {
        ui.Frame(editor, ImVec2(400.0f, 200.0f), 0.3f);
        cursorDrawn = cursorDrawn || ui.DrewColour(colour(PaletteIndex::Cursor));
    }
    EXPECT_TRUE(ui.DrewColour(colour(PaletteIndex::CurrentLineFill)));
    EXPECT_TRUE(cursorDrawn);
}

// Another window's text field keeps the keyboard while the widget is not focused.
TEST_F(TextEditorRender, AnUnfocusedWidgetLeavesTheKeyboardToOthers)
{
    editor.SetText("abc");
    ui.beforeEditor = [] { ImGui::CaptureKeyboardFromApp(true); };
    ui.Frame(editor);
    ui.Frame(editor);
    EXPECT_TRUE(ImGui::GetIO().WantCaptureKeyboard);
}

TEST_F(TextEditorRender, ReadOnlyWidgetMovesAndCopiesButDoesNotEdit)
{
    Show("abc\ndef");
    editor.SetReadOnly(true);
    Press(ImGuiKey_Delete);
    Press(ImGuiKey_Enter);
    ui.Type("x");
    ui.Frame(editor);
    PressScancode(SDL_SCANCODE_V, true);
    Press(ImGuiKey_End, false, true);
    PressScancode(SDL_SCANCODE_X, true);
    EXPECT_EQ(ui.clipboard, "abc");
    EXPECT_EQ(editor.GetText(), "abc\ndef");
    EXPECT_EQ(editor.GetUndoBufferSize(), 0);
}

// The frame after SetText runs the comment pass; token colouring follows, ten lines a frame.
TEST_F(TextEditorRender, ColouringIsSpreadOverFrames)
{
    std::string text;
    for (int line = 0; line < 35; ++line)
        text += "local v" + std::to_string(line) + " = " + std::to_string(line) + (line < 34 ? "\n" : "");
    editor.SetText(text);
    const auto coloured = [&] {
        int lines = 0;
        for (int line = 0; line < editor.GetLineCount(); ++line)
            lines += TokenColour(editor, line, 0) == PaletteIndex::Keyword ? 1 : 0;
        return lines;
    };
    for (const int lines : {0, 10, 20, 30, 35, 35}) {
        ui.Frame(editor);
        EXPECT_EQ(coloured(), lines);
    }
}

// A tooltip is one more window drawn in the frame.
TEST_F(TextEditorRender, TooltipsForLibraryNamesAndErrorMarkers)
{
    Show("print(x)\nx = 1");
    editor.SetErrorMarkers({{2, "unexpected symbol"}});
    const auto windowsWithMouseAt = [&](ImVec2 position) {
        ui.MoveMouse(position);
        ui.Frame(editor);
        ui.Frame(editor);
        return ImGui::GetIO().MetricsRenderWindows;
    };
    const int plain = windowsWithMouseAt(ui.CellCentre(0, 6));  // over x, a plain identifier
    EXPECT_EQ(windowsWithMouseAt(ui.CellCentre(0, 2)), plain + 1) << "over print";
    EXPECT_EQ(windowsWithMouseAt(ui.CellCentre(1, 2)), plain + 1) << "over the marked line";
}

TEST_F(TextEditorRender, AnEmptyTextDrawsOnlyTheBackground)
{
    const TextEditor::Palette& palette = TextEditor::GetDarkPalette();
    editor.SetText("");
    ui.Frame(editor);
    ui.Click(editor, ui.CellCentre(3, 3));
    Press(ImGuiKey_End, true);
    Press(ImGuiKey_End);
    Press(ImGuiKey_DownArrow);
    EXPECT_FALSE(ui.DrewColour(palette[static_cast<std::size_t>(PaletteIndex::LineNumber)]));
    EXPECT_EQ(editor.GetLineCount(), 0);
}

}  // namespace

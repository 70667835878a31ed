// Random edits, moves, selections, clipboard use, undos and redos against a plain string that
// is edited the same way: the widget's text must match after every step, and undoing every
// step must give back the first text.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "UiHarness.h"

namespace {

// The byte offset of a position in the text, column clamped to its line.
std::size_t Offset(const std::string& text, const Coordinates& at)
{
    std::size_t lineStart = 0;
    for (int line = 0; line < at.mLine; ++line) {
        const std::size_t lineFeed = text.find('\n', lineStart);
        if (lineFeed == std::string::npos)
            return text.size();
        lineStart = lineFeed + 1;
    }
    const std::size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
    return std::min(lineStart + static_cast<std::size_t>(at.mColumn), lineEnd);
}

std::string WithoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

class PlainModel {
public:
    explicit PlainModel(std::string first) : history{std::move(first)} {}

    const std::string& Text() const { return history[index]; }
    int Index() const { return static_cast<int>(index); }
    int Size() const { return static_cast<int>(history.size()) - 1; }

    void Record(std::string next)
    {
        history.resize(index + 1);
        history.push_back(std::move(next));
        ++index;
    }
    void Undo()
    {
        if (index > 0)
            --index;
    }
    void Redo()
    {
        if (index + 1 < history.size())
            ++index;
    }

    std::vector<std::string> history;
    std::size_t index = 0;
};

// A Shift move right after a change of the text selects from the cursor: from the selection's
// other end when undo or redo brought one back with the cursor on an end, else from the
// cursor itself. Returns what it must have selected, in the model's bytes, or nothing when the
// cursor and the selection are not of that kind.
std::optional<std::string> ShiftMoveAfterAnEdit(TextEditor& editor, const std::string& text, int move)
{
    const Coordinates cursorAt = editor.GetCursorPosition();
    if (editor.SanitizeCoordinates(cursorAt) != cursorAt)
        return std::nullopt;
    const std::size_t cursor = Offset(text, cursorAt);
    std::size_t anchor = cursor;
    if (editor.HasSelection()) {
        if (cursorAt == editor.GetSelectionEnd())
            anchor = Offset(text, editor.GetSelectionStart());
        else if (cursorAt == editor.GetSelectionStart())
            anchor = Offset(text, editor.GetSelectionEnd());
        else
            return std::nullopt;
    }
    const std::size_t lineStart = cursor == 0 ? 0 : text.rfind('\n', cursor - 1) + 1;  // npos + 1 is 0
    const std::size_t lineEnd = std::min(text.find('\n', cursor), text.size());
    std::size_t moved = cursor;
    switch (move) {
    case 0: editor.MoveRight(1, true); moved = std::min(cursor + 1, text.size()); break;
    case 1: editor.MoveLeft(1, true); moved = cursor == 0 ? 0 : cursor - 1; break;
    case 2: editor.MoveEnd(true); moved = lineEnd; break;
    default: editor.MoveHome(true); moved = lineStart; break;
    }
    const std::size_t from = std::min(anchor, moved);
    return text.substr(from, std::max(anchor, moved) - from);
}

class TextEditorFuzzSeeds : public testing::TestWithParam<unsigned> {};

// Carriage returns are bytes like any other: loaded, typed and undone they stay. Only pasted
// text drops them.
TEST_P(TextEditorFuzzSeeds, RandomEditsMatchAPlainStringAndUndoToTheFirstText)
{
    UiHarness ui;
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    const std::string first = "local speed = 10\r\nfunction main()\r\n\tprint(\"go -- fast\")\rend\n--[[ x\r\n]]";
    editor.SetText(first);
    PlainModel model(first);

    std::mt19937 random(GetParam());
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    const std::string typed = "abcxyz019 _.,()=+-\"'\t\n\n\r\r";

    for (int step = 0; step < 3000; ++step) {
        const std::string& text = model.Text();
        const bool selection = editor.HasSelection();
        const std::size_t selectionStart = Offset(text, editor.GetSelectionStart());
        const std::size_t selectionEnd = Offset(text, editor.GetSelectionEnd());
        const std::size_t cursor = selection ? selectionStart : Offset(text, editor.SanitizeCoordinates(editor.GetCursorPosition()));
        const auto withoutSelection = [&] {
            std::string next = text;
            if (selection)
                next.erase(selectionStart, selectionEnd - selectionStart);
            return next;
        };
        const int operation = pick(100);
        std::string what;
        bool edited = false;     // the text changed, or undo or redo ran
        std::optional<std::size_t> cursorAfter;  // where an edit leaves the cursor, in the new text
        if (operation < 30) {
            const char ch = typed[static_cast<std::size_t>(pick(static_cast<int>(typed.size())))];
            what = std::string("type ") + ch;
            std::string next = withoutSelection();
            next.insert(cursor, 1, ch);
            editor.EnterCharacter(ch);
            model.Record(std::move(next));
            cursorAfter = cursor + 1;
        } else if (operation < 38) {
            what = "delete";
            const bool acts = selection || cursor < text.size();
            std::string next = selection ? withoutSelection() : text;
            if (!selection && acts)
                next.erase(cursor, 1);
            editor.Delete();
            if (acts) {
                model.Record(std::move(next));
                cursorAfter = cursor;
            }
        } else if (operation < 46) {
            what = "backspace";
            const bool acts = selection || cursor > 0;
            std::string next = selection ? withoutSelection() : text;
            if (!selection && acts)
                next.erase(cursor - 1, 1);
            editor.Backspace();
            if (acts) {
                model.Record(std::move(next));
                cursorAfter = selection ? cursor : cursor - 1;
            }
        } else if (operation < 62) {
            const bool select = pick(2) == 0;
            const bool words = pick(2) == 0;
            const int amount = 1 + pick(5);
            switch (pick(8)) {
            case 0: what = "up"; editor.MoveUp(amount, select); break;
            case 1: what = "down"; editor.MoveDown(amount, select); break;
            case 2: what = "left"; editor.MoveLeft(1, select, words); break;
            case 3: what = "right"; editor.MoveRight(1, select, words); break;
            case 4: what = "home"; editor.MoveHome(select); break;
            case 5: what = "end"; editor.MoveEnd(select); break;
            case 6: what = "top"; editor.MoveTop(select); break;
            default: what = "bottom"; editor.MoveBottom(select); break;
            }
        } else if (operation < 68) {
            what = "select";
            const Coordinates a(pick(editor.GetLineCount() + 3), pick(25));
            const Coordinates b(pick(editor.GetLineCount() + 3), pick(25));
            editor.SetSelection(a, b, pick(3) == 0);
        } else if (operation < 72) {
            what = "copy";
            editor.Copy();
            if (selection) {
                EXPECT_EQ(ui.clipboard, text.substr(selectionStart, selectionEnd - selectionStart)) << "step " << step;
            }
        } else if (operation < 77) {
            what = "cut";
            if (selection) {
                const std::string cut = text.substr(selectionStart, selectionEnd - selectionStart);
                std::string next = withoutSelection();
                editor.Cut();
                EXPECT_EQ(ui.clipboard, cut) << "step " << step;
                model.Record(std::move(next));
                cursorAfter = cursor;
            } else {
                editor.Cut();
            }
        } else if (operation < 83) {
            what = "paste";
            const std::vector<std::string> clips = {"", "x", "if a then\r\n  b()\r\nend", "\n\n", "\r", "a\rb", "-- [[", ui.clipboard};
            ui.clipboard = clips[static_cast<std::size_t>(pick(static_cast<int>(clips.size())))];
            const std::string pasted = WithoutCarriageReturns(ui.clipboard);
            std::string next = withoutSelection();
            next.insert(cursor, pasted);
            editor.Paste();
            if (!pasted.empty()) {
                model.Record(std::move(next));
                cursorAfter = cursor + pasted.size();
            }
        } else if (operation < 92) {
            what = "undo";
            edited = editor.CanUndo();
            editor.Undo();
            model.Undo();
        } else if (operation < 98) {
            what = "redo";
            edited = editor.CanRedo();
            editor.Redo();
            model.Redo();
        } else {
            what = "colour";
            editor.ColorizeStep();
            editor.ColorizeStep();
        }

        ASSERT_EQ(editor.GetText(), model.Text()) << "step " << step << ": " << what;
        ASSERT_EQ(editor.GetUndoIndex(), model.Index()) << "step " << step << ": " << what;
        ASSERT_EQ(editor.GetUndoBufferSize(), model.Size()) << "step " << step << ": " << what;
        ASSERT_LE(editor.GetSelectionStart(), editor.GetSelectionEnd()) << "step " << step << ": " << what;
        if (editor.HasSelection()) {
            ASSERT_EQ(editor.SanitizeCoordinates(editor.GetSelectionStart()), editor.GetSelectionStart()) << "step " << step;
            ASSERT_EQ(editor.SanitizeCoordinates(editor.GetSelectionEnd()), editor.GetSelectionEnd()) << "step " << step;
        }
        ASSERT_LT(editor.GetCursorPosition().mLine, std::max(1, editor.GetLineCount())) << "step " << step;
        if (cursorAfter) {
            ASSERT_FALSE(editor.HasSelection()) << "step " << step << ": " << what;
            ASSERT_EQ(Offset(model.Text(), editor.GetCursorPosition()), *cursorAfter) << "step " << step << ": " << what;
        }

        // Half the changes are followed at once by a Shift move, which must select from the cursor.
        if ((cursorAfter || edited) && pick(2) == 0) {
            const int move = pick(4);
            const std::optional<std::string> expected = ShiftMoveAfterAnEdit(editor, model.Text(), move);
            if (expected) {
                ASSERT_EQ(editor.GetSelectedText(), *expected) << "step " << step << ": Shift move " << move << " after " << what;
            }
        }

        // Now and then the whole history is walked back to the first text and forward again.
        if (step % 500 == 499) {
            while (editor.CanUndo())
                editor.Undo();
            ASSERT_EQ(editor.GetText(), first) << "step " << step;
            while (editor.GetUndoIndex() < model.Index())
                editor.Redo();
            ASSERT_EQ(editor.GetText(), model.Text()) << "step " << step;
        }
    }

    const std::string last = model.history.back();
    while (editor.CanUndo())
        editor.Undo();
    EXPECT_EQ(editor.GetText(), first);
    while (editor.CanRedo())
        editor.Redo();
    EXPECT_EQ(editor.GetText(), last);
}

INSTANTIATE_TEST_SUITE_P(Seeds, TextEditorFuzzSeeds, testing::Values(20261210u, 1u, 77u, 4242u, 31337u, 90210u));

}  // namespace

namespace {

// Keys, modifiers, clicks, drags, typed characters, pastes and loads of arbitrary bytes fed
// through headless frames: nothing the user can do may trip an assertion or break the
// selection's order, and undoing everything gives back the last loaded text.
TEST(TextEditorFuzz, RandomInputThroughFramesKeepsTheWidgetSound)
{
    UiHarness ui;
    TextEditor editor;
    editor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
    std::mt19937 random(4242u);
    const auto pick = [&](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    const auto bytes = [&](int length) {
        std::string text;
        for (int i = 0; i < length; ++i)
            text.push_back(pick(6) == 0 ? '\n' : static_cast<char>(pick(256)));
        return text;
    };
    const std::vector<int> keys = {SDL_SCANCODE_UP,     SDL_SCANCODE_DOWN,   SDL_SCANCODE_LEFT,      SDL_SCANCODE_RIGHT,
                                   SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_HOME,    SDL_SCANCODE_END,
                                   SDL_SCANCODE_DELETE, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_INSERT, SDL_SCANCODE_RETURN,
                                   SDL_SCANCODE_TAB,    SDL_SCANCODE_Z,      SDL_SCANCODE_Y,         SDL_SCANCODE_C,
                                   SDL_SCANCODE_V,      SDL_SCANCODE_X,      SDL_SCANCODE_A};
    std::string loaded = "local a = 1\n--[[ note ]]\nprint(a)";
    editor.SetText(loaded);
    int longestHistory = 0;
    for (int frame = 0; frame < 1500; ++frame) {
        const int what = pick(20);
        if (what == 0) {
            loaded = bytes(pick(300));
            editor.SetText(loaded);
        } else if (what < 8) {
            ui.SetModifiers(pick(3) == 0, pick(3) == 0, pick(6) == 0);
            ui.PressKey(keys[static_cast<std::size_t>(pick(static_cast<int>(keys.size())))]);
        } else if (what < 12) {
            ui.Type(std::string(1, static_cast<char>(32 + pick(95))));
        } else if (what < 17) {
            ui.MoveMouse(ImVec2(static_cast<float>(pick(500)) - 50.0f, static_cast<float>(pick(300)) - 50.0f));
            ui.SetMouseDown(pick(2) == 0);
        } else {
            ui.clipboard = bytes(pick(40));
        }
        ui.Frame(editor, ImVec2(400.0f, 200.0f), pick(4) == 0 ? 0.2f : 1.0f / 60.0f);
        ui.SetModifiers(false, false, false);
        ASSERT_LE(editor.GetSelectionStart(), editor.GetSelectionEnd()) << "frame " << frame;
        ASSERT_LT(editor.GetCursorPosition().mLine, std::max(1, editor.GetLineCount())) << "frame " << frame;
        longestHistory = std::max(longestHistory, editor.GetUndoBufferSize());
    }
    EXPECT_GT(longestHistory, 5);
    while (editor.CanUndo())
        editor.Undo();
    // Carriage returns typed or pasted never enter the text, so the loaded bytes come back.
    EXPECT_EQ(editor.GetText(), loaded);
}

}  // namespace

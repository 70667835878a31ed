// The editing operations of TextEditor: typing, deleting, selecting, word boundaries and the
// clipboard. Every change of the text makes one undo record and asks for recolouring of the
// lines it touched.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>

namespace {

std::uint8_t WordClass(const TextEditor::Glyph& glyph)
{
    return glyph.mColorIndex & TextEditor::ColorMask;
}

}  // namespace

void TextEditor::EnterCharacter(char ch)
{
    assert(!mReadOnly);
    UndoRecord record;
    record.mBefore = mState;
    if (HasSelection()) {
        DeleteSelectionInto(record);
    }
    const Coordinates coord = SanitizeCoordinates(mState.mCursorPosition);
    record.mAddedStart = coord;
    if (mLines.empty())
        mLines.emplace_back();
    const auto lineIndex = static_cast<std::size_t>(coord.mLine);
    const auto column = static_cast<std::size_t>(coord.mColumn);
    if (ch == '\n') {
        InsertLine(coord.mLine + 1);
        Line& line = mLines[lineIndex];
        mLines[lineIndex + 1].assign(line.begin() + coord.mColumn, line.end());
        line.erase(line.begin() + coord.mColumn, line.end());
        mState.mCursorPosition = Coordinates(coord.mLine + 1, 0);
    } else {
        Line& line = mLines[lineIndex];
        if (mOverwrite && column < line.size()) {
            // The replaced glyph joins the removed text so that undo brings it back.
            if (record.mRemoved.empty())
                record.mRemovedStart = record.mRemovedEnd = coord;
            record.mRemoved.push_back(line[column].mChar);
            ++record.mRemovedEnd.mColumn;
            line[column] = Glyph{ch, 0};
        } else {
            line.insert(line.begin() + coord.mColumn, Glyph{ch, 0});
        }
        mState.mCursorPosition = Coordinates(coord.mLine, coord.mColumn + 1);
    }
    record.mAdded = std::string(1, ch);
    record.mAddedEnd = SanitizeCoordinates(mState.mCursorPosition);
    CollapseSelectionToCursor();
    record.mAfter = mState;
    AddUndo(record);
    Colorize(coord.mLine - 1, 3);
    RevealCursor();
}

void TextEditor::Delete()
{
    EraseAtCursor(true);
}

void TextEditor::Backspace()
{
    EraseAtCursor(false);
}

// The selection when there is one, else the glyph or line break after (forward) or before the
// cursor. At the end (start) of the text there is nothing to erase and no record is made.
void TextEditor::EraseAtCursor(bool forward)
{
    assert(!mReadOnly);
    if (mLines.empty())
        return;
    UndoRecord record;
    record.mBefore = mState;
    if (HasSelection()) {
        DeleteSelectionInto(record);
    } else {
        const Coordinates pos = SanitizeCoordinates(mState.mCursorPosition);
        SetCursorPosition(pos);
        if (!(forward ? EraseAfter(pos, record) : EraseBefore(pos, record)))
            return;
    }
    CollapseSelectionToCursor();
    record.mAfter = mState;
    AddUndo(record);
}

bool TextEditor::EraseAfter(const Coordinates& pos, UndoRecord& record)
{
    Line& line = mLines[static_cast<std::size_t>(pos.mLine)];
    if (pos.mColumn == static_cast<int>(line.size())) {
        if (pos.mLine == GetLineCount() - 1)
            return false;
        record.mRemoved = "\n";
        record.mRemovedStart = pos;
        record.mRemovedEnd = pos;
        Advance(record.mRemovedEnd);
        const Line& next = mLines[static_cast<std::size_t>(pos.mLine) + 1];
        line.insert(line.end(), next.begin(), next.end());
        RemoveLine(pos.mLine + 1);
    } else {
        record.mRemoved = std::string(1, line[static_cast<std::size_t>(pos.mColumn)].mChar);
        record.mRemovedStart = pos;
        record.mRemovedEnd = Coordinates(pos.mLine, pos.mColumn + 1);
        line.erase(line.begin() + pos.mColumn);
    }
    Colorize(pos.mLine, 1);
    return true;
}

bool TextEditor::EraseBefore(const Coordinates& pos, UndoRecord& record)
{
    const auto lineIndex = static_cast<std::size_t>(pos.mLine);
    if (pos.mColumn > 0) {
        Line& line = mLines[lineIndex];
        record.mRemoved = std::string(1, line[static_cast<std::size_t>(pos.mColumn) - 1].mChar);
        record.mRemovedStart = Coordinates(pos.mLine, pos.mColumn - 1);
        record.mRemovedEnd = pos;
        line.erase(line.begin() + (pos.mColumn - 1));
        mState.mCursorPosition.mColumn = pos.mColumn - 1;
    } else if (pos.mLine > 0) {
        Line& previous = mLines[lineIndex - 1];
        const int previousLength = static_cast<int>(previous.size());
        record.mRemoved = "\n";
        record.mRemovedStart = Coordinates(pos.mLine - 1, previousLength);
        record.mRemovedEnd = pos;
        const Line& line = mLines[lineIndex];
        previous.insert(previous.end(), line.begin(), line.end());
        RemoveLine(pos.mLine);
        mState.mCursorPosition = Coordinates(pos.mLine - 1, previousLength);
    } else {
        return false;
    }
    RevealCursor();
    Colorize(mState.mCursorPosition.mLine, 1);
    return true;
}

// A position on a line past the text stands for the end of the text, so that selecting from
// (0, 0) to (line count, 0) selects everything. The ends are put in order after clamping, so
// the selection's start never lies after its end.
void TextEditor::SetSelection(const Coordinates& start, const Coordinates& end, bool wordMode)
{
    const auto clamp = [this](const Coordinates& position) {
        if (mLines.empty() || position.mLine < GetLineCount())
            return SanitizeCoordinates(position);
        return Coordinates(GetLineCount() - 1, static_cast<int>(mLines.back().size()));
    };
    Coordinates selectionStart = clamp(start);
    Coordinates selectionEnd = clamp(end);
    if (selectionStart > selectionEnd)
        std::swap(selectionStart, selectionEnd);
    if (wordMode) {
        selectionStart = FindWordStart(selectionStart);
        if (!AtWordBoundary(selectionEnd))
            selectionEnd = FindWordEnd(FindWordStart(selectionEnd));
    }
    mState.mSelectionStart = selectionStart;
    mState.mSelectionEnd = selectionEnd;
}

void TextEditor::Copy()
{
    const ImGuiIO& io = ImGui::GetIO();
    if (io.SetClipboardTextFn == nullptr)
        return;
    if (HasSelection()) {
        io.SetClipboardTextFn(io.ClipboardUserData, GetSelectedText().c_str());
    } else if (!mLines.empty()) {
        const Coordinates pos = SanitizeCoordinates(mState.mCursorPosition);
        const int length = static_cast<int>(mLines[static_cast<std::size_t>(pos.mLine)].size());
        const std::string line = GetTextRange(Coordinates(pos.mLine, 0), Coordinates(pos.mLine, length));
        io.SetClipboardTextFn(io.ClipboardUserData, line.c_str());
    }
}

void TextEditor::Cut()
{
    if (mReadOnly) {
        Copy();
        return;
    }
    if (!HasSelection())
        return;
    UndoRecord record;
    record.mBefore = mState;
    Copy();
    DeleteSelectionInto(record);
    CollapseSelectionToCursor();
    record.mAfter = mState;
    AddUndo(record);
}

void TextEditor::Paste()
{
    assert(!mReadOnly);
    const ImGuiIO& io = ImGui::GetIO();
    const char* clipboard = io.GetClipboardTextFn != nullptr ? io.GetClipboardTextFn(io.ClipboardUserData) : "";
    if (clipboard == nullptr || *clipboard == '\0')
        return;
    // Only pasted text loses its carriage returns: text typed or loaded keeps every byte, and
    // undo and redo put back exactly what they took away.
    std::string text = clipboard;  // the callback's buffer may not outlive the next call
    std::erase(text, '\r');
    if (text.empty())
        return;
    UndoRecord record;
    record.mBefore = mState;
    if (HasSelection()) {
        DeleteSelectionInto(record);
    }
    record.mAdded = text;
    record.mAddedStart = SanitizeCoordinates(mState.mCursorPosition);
    InsertText(text);
    record.mAddedEnd = SanitizeCoordinates(mState.mCursorPosition);
    CollapseSelectionToCursor();
    record.mAfter = mState;
    AddUndo(record);
}

// Both ends lie inside the text: every caller passes a sanitized selection or the recorded
// ends of an earlier step.
void TextEditor::DeleteRange(const Coordinates& aStart, const Coordinates& aEnd)
{
    assert(aEnd >= aStart);
    assert(!mReadOnly);
    assert(aEnd.mLine < GetLineCount() && "the range ends inside the text");
    if (aEnd == aStart)
        return;
    Line& first = mLines[static_cast<std::size_t>(aStart.mLine)];
    const int firstLength = static_cast<int>(first.size());
    const int from = std::min(aStart.mColumn, firstLength);
    if (aStart.mLine == aEnd.mLine) {
        const int to = std::min(aEnd.mColumn, firstLength);
        if (from < to)
            first.erase(first.begin() + from, first.begin() + to);
        return;
    }
    const Line& last = mLines[static_cast<std::size_t>(aEnd.mLine)];
    const int to = std::min(aEnd.mColumn, static_cast<int>(last.size()));
    first.erase(first.begin() + from, first.end());
    first.insert(first.end(), last.begin() + to, last.end());
    RemoveLine(aStart.mLine + 1, aEnd.mLine + 1);
}

// Inserts the bytes at where, every one a glyph except line feeds, which break the line, and
// leaves where after them. The text after where is set aside first and joined back at the
// end, so a long insertion does not shift it once per byte.
int TextEditor::InsertTextAt(Coordinates& where, std::string_view text)
{
    assert(!mReadOnly);
    if (text.empty())
        return 0;
    if (mLines.empty())
        mLines.emplace_back();
    where = SanitizeCoordinates(where);
    Line& startLine = mLines[static_cast<std::size_t>(where.mLine)];
    const Line tail(startLine.begin() + where.mColumn, startLine.end());
    startLine.erase(startLine.begin() + where.mColumn, startLine.end());
    int lineFeeds = 0;
    for (const char ch : text) {
        if (ch == '\n') {
            InsertLine(where.mLine + 1);
            where = Coordinates(where.mLine + 1, 0);
            ++lineFeeds;
        } else {
            mLines[static_cast<std::size_t>(where.mLine)].push_back(Glyph{ch, 0});
            ++where.mColumn;
        }
    }
    Line& endLine = mLines[static_cast<std::size_t>(where.mLine)];
    endLine.insert(endLine.end(), tail.begin(), tail.end());
    return lineFeeds;
}

void TextEditor::InsertText(std::string_view text)
{
    if (text.data() == nullptr)
        return;
    Coordinates pos = SanitizeCoordinates(mState.mCursorPosition);
    const Coordinates start = std::min(pos, mState.mSelectionStart);
    const int lines = pos.mLine - start.mLine + InsertTextAt(pos, text);
    SetSelection(pos, pos);
    SetCursorPosition(pos);
    Colorize(start.mLine - 1, lines + 2);
}

// Removes the selection and records what it held in the record.
void TextEditor::DeleteSelectionInto(UndoRecord& record)
{
    record.mRemoved = GetSelectedText();
    record.mRemovedStart = mState.mSelectionStart;
    record.mRemovedEnd = mState.mSelectionEnd;
    DeleteSelection();
}

void TextEditor::DeleteSelection()
{
    assert(mState.mSelectionEnd >= mState.mSelectionStart);
    if (!HasSelection())
        return;
    const Coordinates start = mState.mSelectionStart;
    DeleteRange(start, mState.mSelectionEnd);
    SetSelection(start, start);
    SetCursorPosition(start);
    Colorize(start.mLine, 1);
}

void TextEditor::SetCursorPosition(const Coordinates& position)
{
    if (mState.mCursorPosition != position) {
        mState.mCursorPosition = position;
        RevealCursor();
    }
}

// After a change of the text nothing is selected, and a Shift-selection starts afresh at the
// cursor rather than from anchors left in text that has gone or moved.
void TextEditor::CollapseSelectionToCursor()
{
    mState.mSelectionStart = mState.mSelectionEnd = mState.mCursorPosition;
    AnchorSelectionAtCursor();
}

// The moving end of a Shift-selection is the cursor; when the cursor is at one end of the
// selection, the other end is the anchor.
void TextEditor::AnchorSelectionAtCursor()
{
    const Coordinates cursor = mState.mCursorPosition;
    mMovingEnd = mSelectAnchor = cursor;
    if (HasSelection() && cursor == mState.mSelectionEnd)
        mSelectAnchor = mState.mSelectionStart;
    else if (HasSelection() && cursor == mState.mSelectionStart)
        mSelectAnchor = mState.mSelectionEnd;
}

// Words follow the colouring: a word is a run of glyphs of one colour class on one line.
TextEditor::Coordinates TextEditor::FindWordStart(const Coordinates& from) const
{
    if (from.mLine >= GetLineCount())
        return from;
    const Line& line = mLines[static_cast<std::size_t>(from.mLine)];
    if (from.mColumn == 0 || from.mColumn >= static_cast<int>(line.size()))
        return from;
    const std::uint8_t wordClass = WordClass(line[static_cast<std::size_t>(from.mColumn)]);
    int column = from.mColumn;
    while (column > 0 && WordClass(line[static_cast<std::size_t>(column) - 1]) == wordClass)
        --column;
    return Coordinates(from.mLine, column);
}

TextEditor::Coordinates TextEditor::FindWordEnd(const Coordinates& from) const
{
    if (from.mLine >= GetLineCount())
        return from;
    const Line& line = mLines[static_cast<std::size_t>(from.mLine)];
    const int length = static_cast<int>(line.size());
    if (from.mColumn >= length)
        return from;
    const std::uint8_t wordClass = WordClass(line[static_cast<std::size_t>(from.mColumn)]);
    int column = from.mColumn;
    while (column < length && WordClass(line[static_cast<std::size_t>(column)]) == wordClass)
        ++column;
    return Coordinates(from.mLine, column);
}

bool TextEditor::AtWordBoundary(const Coordinates& at) const
{
    if (at.mLine >= GetLineCount())
        return true;
    const Line& line = mLines[static_cast<std::size_t>(at.mLine)];
    if (at.mColumn == 0 || at.mColumn >= static_cast<int>(line.size()))
        return true;
    const auto column = static_cast<std::size_t>(at.mColumn);
    return WordClass(line[column - 1]) != WordClass(line[column]);
}

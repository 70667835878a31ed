// The cursor moves of TextEditor (arrow keys, Home, End, page and text ends). A move with
// select keeps one end of the selection where it was (the anchor) and moves the other with the
// cursor; without select the selection collapses to the cursor, even where it cannot move.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>

// Backward moves (up, left, home) prefer to move the anchor when the cursor sat on it,
// forward moves (down, right, end) the moving end.
void TextEditor::UpdateSelectionAfterMove(const Coordinates& old, bool select, bool forward, bool wordMode)
{
    const Coordinates cursor = mState.mCursorPosition;
    if (!select) {
        mSelectAnchor = mMovingEnd = cursor;
    } else if (forward) {
        if (old == mMovingEnd) {
            mMovingEnd = cursor;
        } else if (old == mSelectAnchor) {
            mSelectAnchor = cursor;
        } else {
            mSelectAnchor = old;
            mMovingEnd = cursor;
        }
    } else {
        if (old == mSelectAnchor) {
            mSelectAnchor = cursor;
        } else if (old == mMovingEnd) {
            mMovingEnd = cursor;
        } else {
            mSelectAnchor = cursor;
            mMovingEnd = old;
        }
    }
    SetSelection(mSelectAnchor, mMovingEnd, wordMode);
    RevealCursor();
}

void TextEditor::MoveUp(int amount, bool select)
{
    const Coordinates old = mState.mCursorPosition;
    const int lastLine = std::max(0, GetLineCount() - 1);
    mState.mCursorPosition.mLine = std::clamp(old.mLine - amount, 0, std::max(old.mLine, lastLine));
    if (mState.mCursorPosition != old || !select)
        UpdateSelectionAfterMove(old, select, false, false);
}

void TextEditor::MoveDown(int amount, bool select)
{
    const Coordinates old = mState.mCursorPosition;
    mState.mCursorPosition.mLine = std::max(0, std::min(old.mLine + amount, GetLineCount() - 1));
    if (mState.mCursorPosition != old || !select)
        UpdateSelectionAfterMove(old, select, true, false);
}

// One glyph at a time whatever the amount; in word mode to the start of the word.
void TextEditor::MoveLeft(int /*amount*/, bool select, bool wordMode)
{
    if (mLines.empty())
        return;
    const Coordinates old = mState.mCursorPosition;
    Coordinates pos = SanitizeCoordinates(old);
    if (pos.mColumn > 0) {
        --pos.mColumn;
        if (wordMode)
            pos = FindWordStart(pos);
    } else if (pos.mLine > 0) {
        const int previous = pos.mLine - 1;
        pos = Coordinates(previous, static_cast<int>(mLines[static_cast<std::size_t>(previous)].size()));
    }
    mState.mCursorPosition = pos;
    UpdateSelectionAfterMove(old, select, false, select && wordMode);
}

void TextEditor::MoveRight(int /*amount*/, bool select, bool wordMode)
{
    if (mLines.empty())
        return;
    const Coordinates old = mState.mCursorPosition;
    Coordinates pos = SanitizeCoordinates(old);
    const int length = static_cast<int>(mLines[static_cast<std::size_t>(pos.mLine)].size());
    if (pos.mColumn < length) {
        ++pos.mColumn;
        if (wordMode)
            pos = FindWordEnd(pos);
    } else if (pos.mLine < GetLineCount() - 1) {
        pos = Coordinates(pos.mLine + 1, 0);
    }
    mState.mCursorPosition = pos;
    UpdateSelectionAfterMove(old, select, true, select && wordMode);
}

void TextEditor::MoveHome(bool select)
{
    const Coordinates old = mState.mCursorPosition;
    mState.mCursorPosition = Coordinates(old.mLine, 0);
    if (mState.mCursorPosition != old || !select)
        UpdateSelectionAfterMove(old, select, false, false);
}

void TextEditor::MoveEnd(bool select)
{
    if (mLines.empty())
        return;
    const Coordinates old = mState.mCursorPosition;
    const Coordinates pos = SanitizeCoordinates(old);
    mState.mCursorPosition = Coordinates(pos.mLine, static_cast<int>(mLines[static_cast<std::size_t>(pos.mLine)].size()));
    if (mState.mCursorPosition != old || !select)
        UpdateSelectionAfterMove(old, select, true, false);
}

void TextEditor::MoveTop(bool select)
{
    const Coordinates old = mState.mCursorPosition;
    mState.mCursorPosition = Coordinates(0, 0);
    if (mState.mCursorPosition == old && select)
        return;
    mSelectAnchor = Coordinates(0, 0);
    mMovingEnd = select ? old : Coordinates(0, 0);
    SetSelection(mSelectAnchor, mMovingEnd);
    RevealCursor();
}

void TextEditor::MoveBottom(bool select)
{
    if (mLines.empty())
        return;
    const Coordinates old = mState.mCursorPosition;
    const Coordinates bottom(GetLineCount() - 1, 0);
    mState.mCursorPosition = bottom;
    mMovingEnd = bottom;
    mSelectAnchor = select ? SanitizeCoordinates(old) : bottom;
    SetSelection(mSelectAnchor, mMovingEnd);
    if (mState.mCursorPosition != old)
        RevealCursor();
}

// TextEditor's linear history: adding a record drops everything that could still be redone;
// a step back removes what the record added and puts back what it removed, a step forward
// does the reverse, and each restores the cursor and selection of its side.
#include "widgets/text_editor/TextEditor.h"

void TextEditor::AddUndo(UndoRecord& record)
{
    assert(!mReadOnly);
    mUndoBuffer.erase(mUndoBuffer.begin() + mUndoIndex, mUndoBuffer.end());
    mUndoBuffer.push_back(std::move(record));
    ++mUndoIndex;
}

void TextEditor::Undo()
{
    assert(!mReadOnly);
    if (!CanUndo())
        return;
    --mUndoIndex;
    mUndoBuffer[static_cast<std::size_t>(mUndoIndex)].Undo(*this);
}

void TextEditor::Redo()
{
    assert(!mReadOnly);
    if (!CanRedo())
        return;
    mUndoBuffer[static_cast<std::size_t>(mUndoIndex)].Redo(*this);
    ++mUndoIndex;
}

// Both directions take one text out and put the other in, byte for byte, and recolour every
// line they leave changed (with the line before, as typing does).
void TextEditor::UndoRecord::Replace(TextEditor& editor, const Side& out, const Side& in)
{
    if (!out.text.empty()) {
        editor.DeleteRange(out.start, out.end);
        editor.Colorize(out.start.mLine - 1, 2);
    }
    if (!in.text.empty()) {
        Coordinates at = in.start;
        const int lineFeeds = editor.InsertTextAt(at, in.text);
        editor.Colorize(in.start.mLine - 1, lineFeeds + 2);
    }
}

void TextEditor::UndoRecord::Undo(TextEditor& editor) const
{
    Replace(editor, {mAdded, mAddedStart, mAddedEnd}, {mRemoved, mRemovedStart, mRemovedEnd});
    editor.mState = mBefore;
    editor.AnchorSelectionAtCursor();
    editor.RevealCursor();
}

void TextEditor::UndoRecord::Redo(TextEditor& editor) const
{
    Replace(editor, {mRemoved, mRemovedStart, mRemovedEnd}, {mAdded, mAddedStart, mAddedEnd});
    editor.mState = mAfter;
    editor.AnchorSelectionAtCursor();
    editor.RevealCursor();
}

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
    if (!CanUndo())
        return;
    --mUndoIndex;
    mUndoBuffer[static_cast<std::size_t>(mUndoIndex)].Undo(*this);
}

void TextEditor::Redo()
{
    if (!CanRedo())
        return;
    mUndoBuffer[static_cast<std::size_t>(mUndoIndex)].Redo(*this);
    ++mUndoIndex;
}

void TextEditor::UndoRecord::Undo(TextEditor& editor) const
{
    if (!mAdded.empty()) {
        editor.DeleteRange(mAddedStart, mAddedEnd);
        editor.Colorize(mAddedStart.mLine - 1, mAddedEnd.mLine - mAddedStart.mLine + 2);
    }
    if (!mRemoved.empty()) {
        Coordinates start = mRemovedStart;
        editor.InsertTextAt(start, mRemoved);
        editor.Colorize(mRemovedStart.mLine - 1, mRemovedEnd.mLine - mRemovedStart.mLine + 2);
    }
    editor.mState = mBefore;
    editor.RevealCursor();
}

void TextEditor::UndoRecord::Redo(TextEditor& editor) const
{
    if (!mRemoved.empty()) {
        editor.DeleteRange(mRemovedStart, mRemovedEnd);
        editor.Colorize(mRemovedStart.mLine - 1, mRemovedEnd.mLine - mRemovedStart.mLine + 1);
    }
    if (!mAdded.empty()) {
        Coordinates start = mAddedStart;
        editor.InsertTextAt(start, mAdded);
        editor.Colorize(mAddedStart.mLine - 1, mAddedEnd.mLine - mAddedStart.mLine + 1);
    }
    editor.mState = mAfter;
    editor.RevealCursor();
}

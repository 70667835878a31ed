// TextEditor's keyboard and mouse handling inside Render: the key table (with key repeat),
// the typed characters of Dear ImGui's input queue, and clicks, double clicks and drags.
#include "widgets/text_editor/TextEditor.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "widgets/text_editor/TextEditorKeys.h"

namespace {

bool KeyPressed(int keyIndex)
{
    return keyIndex >= 0 && ImGui::IsKeyPressed(keyIndex, true);
}

bool NamedKeyPressed(ImGuiKey key)
{
    return KeyPressed(ImGui::GetKeyIndex(key));
}

bool LetterPressed(char letter)
{
    return KeyPressed(TextEditorKeys::LetterKey(letter));
}

}  // namespace

void TextEditor::HandleKeyboardInputs()
{
    ImGuiIO& io = ImGui::GetIO();
    const bool shift = io.KeyShift;
    const bool ctrl = io.KeyCtrl;
    const bool alt = io.KeyAlt;

    // Unfocused, the capture is left as ImGui computed it, so that another window's text field
    // keeps the keyboard.
    if (!ImGui::IsWindowFocused())
        return;
    if (ImGui::IsWindowHovered())
        ImGui::SetMouseCursor(ImGuiMouseCursor_TextInput);
    io.WantCaptureKeyboard = true;

    if (!mReadOnly && ctrl && !shift && !alt && LetterPressed('Z'))
        Undo();
    if (!mReadOnly && !ctrl && !shift && alt && NamedKeyPressed(ImGuiKey_Backspace))
        Undo();
    if (!mReadOnly && ctrl && !shift && !alt && LetterPressed('Y'))
        Redo();

    // A page keeps four lines of context, and always moves at least one line.
    const float pageHeight = std::max(0.0f, ImGui::GetWindowHeight() - 20.0f);
    const int pageLines = std::max(1, static_cast<int>(std::floor(pageHeight / std::max(mCellSize.y, 1.0f))) - 4);
    const bool insert = KeyPressed(TextEditorKeys::InsertKey());
    if (!ctrl && !alt && NamedKeyPressed(ImGuiKey_UpArrow))
        MoveUp(1, shift);
    else if (!ctrl && !alt && NamedKeyPressed(ImGuiKey_DownArrow))
        MoveDown(1, shift);
    else if (!alt && NamedKeyPressed(ImGuiKey_LeftArrow))
        MoveLeft(1, shift, ctrl);
    else if (!alt && NamedKeyPressed(ImGuiKey_RightArrow))
        MoveRight(1, shift, ctrl);
    else if (!alt && NamedKeyPressed(ImGuiKey_PageUp))
        MoveUp(pageLines, shift);
    else if (!alt && NamedKeyPressed(ImGuiKey_PageDown))
        MoveDown(pageLines, shift);
    else if (ctrl && !alt && NamedKeyPressed(ImGuiKey_Home))
        MoveTop(shift);
    else if (ctrl && !alt && NamedKeyPressed(ImGuiKey_End))
        MoveBottom(shift);
    else if (!ctrl && !alt && NamedKeyPressed(ImGuiKey_Home))
        MoveHome(shift);
    else if (!ctrl && !alt && NamedKeyPressed(ImGuiKey_End))
        MoveEnd(shift);
    else if (!mReadOnly && !ctrl && !shift && !alt && NamedKeyPressed(ImGuiKey_Delete))
        Delete();
    else if (!mReadOnly && !ctrl && !shift && !alt && NamedKeyPressed(ImGuiKey_Backspace))
        Backspace();
    else if (!ctrl && !shift && !alt && insert)
        mOverwrite = !mOverwrite;
    else if (ctrl && !shift && !alt && insert)
        Copy();
    else if (ctrl && !shift && !alt && LetterPressed('C'))
        Copy();
    else if (!mReadOnly && !ctrl && shift && !alt && insert)
        Paste();
    else if (!mReadOnly && ctrl && !shift && !alt && LetterPressed('V'))
        Paste();
    else if (ctrl && !shift && !alt && LetterPressed('X'))
        Cut();
    else if (!ctrl && shift && !alt && NamedKeyPressed(ImGuiKey_Delete))
        Cut();

    if (!mReadOnly)
        HandleTypedCharacters();
}

void TextEditor::HandleTypedCharacters()
{
    const ImGuiIO& io = ImGui::GetIO();
    // SDL's text input never carries Enter or Tab, so those two come from their keys.
    if (!io.KeyCtrl && !io.KeyAlt) {
        if (NamedKeyPressed(ImGuiKey_Enter) || NamedKeyPressed(ImGuiKey_KeyPadEnter))
            EnterCharacter('\n');
        if (NamedKeyPressed(ImGuiKey_Tab))
            EnterCharacter('\t');
    }
    // The text holds bytes: a character beyond one byte is not typed at all rather than
    // typed as some other letter.
    for (const ImWchar character : io.InputQueueCharacters) {
        if (character == 0 || character > 0xff)
            continue;
        const auto byte = static_cast<unsigned char>(character);
        if (std::isprint(byte) != 0 || std::isspace(byte) != 0)
            EnterCharacter(byte == '\r' ? '\n' : static_cast<char>(byte));
    }
}

void TextEditor::HandleMouseInputs()
{
    const ImGuiIO& io = ImGui::GetIO();
    if (ImGui::IsWindowHovered() && !io.KeyShift && !io.KeyAlt) {
        const auto mousePosition = [this] { return SanitizeCoordinates(PointToCoordinates(ImGui::GetMousePos())); };
        if (ImGui::IsMouseClicked(0)) {
            mState.mCursorPosition = mSelectAnchor = mMovingEnd = mousePosition();
            if (io.KeyCtrl)
                mSelectWords = true;
            SetSelection(mSelectAnchor, mMovingEnd, mSelectWords);
        }
        if (ImGui::IsMouseDoubleClicked(0) && !io.KeyCtrl) {
            mState.mCursorPosition = mSelectAnchor = mMovingEnd = mousePosition();
            mSelectWords = true;
            SetSelection(mSelectAnchor, mMovingEnd, true);
        } else if (ImGui::IsMouseDragging(0) && ImGui::IsMouseDown(0)) {
            mState.mCursorPosition = mMovingEnd = mousePosition();
            SetSelection(mSelectAnchor, mMovingEnd, mSelectWords);
        }
    }
    if (!ImGui::IsMouseDown(0))
        mSelectWords = false;
}

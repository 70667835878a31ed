// The key codes TextEditor tests for its letter shortcuts (Ctrl+Z, Ctrl+C, ...) and Insert.
// Dear ImGui's SDL2 back-end fills ImGuiIO::KeysDown by SDL scancode, so these map a letter
// or Insert to the index the back-end uses; named keys go through ImGui's own key map.
#pragma once

namespace TextEditorKeys {

// The KeysDown index of an upper-case letter 'A'..'Z'; -1 for anything else.
int LetterKey(char letter);

int InsertKey();

}  // namespace TextEditorKeys

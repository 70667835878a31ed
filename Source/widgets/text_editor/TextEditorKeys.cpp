// Letter and Insert key codes for TextEditor, as Dear ImGui's SDL2 back-end stores them.
#include "widgets/text_editor/TextEditorKeys.h"

#include <SDL_scancode.h>

namespace TextEditorKeys {

int LetterKey(char letter)
{
    if (letter < 'A' || letter > 'Z')
        return -1;
    return SDL_SCANCODE_A + (letter - 'A');
}

int InsertKey()
{
    return SDL_SCANCODE_INSERT;
}

}  // namespace TextEditorKeys

#include "editor/Editor.h"

namespace Engine {

Editor& Editor::Instance()
{
    static Editor editor;
    return editor;
}

Editor::Editor() = default;

void Editor::RunFrame() {}

}  // namespace Engine

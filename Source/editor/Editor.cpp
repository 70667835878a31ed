#include "editor/Editor.h"

#include <imgui.h>

namespace Engine {

Editor& Editor::Instance()
{
    static Editor editor;
    return editor;
}

Editor::Editor()
{
    // The editor styles the UI, so the UI context must exist before the editor does.
    if (ImGui::GetCurrentContext() == nullptr)
        ImGui::CreateContext();
}

void Editor::RunFrame() {}

}  // namespace Engine

// The editor's look: flat, square, dark windows with light grey text. Applied once, when the
// editor is made; every window of the UI shares it.
#include "editor/Editor.h"

#include <imgui.h>

#include <initializer_list>

namespace Engine {

namespace {

struct SlotColours {
    std::initializer_list<ImGuiCol> slots;
    ImVec4 colour;
};

// The close-button colours of older UI versions have no slot of their own any more (the close
// button is drawn with the button colours) and are left out; the modal darkening is now the
// modal dim background.
const SlotColours EditorColours[] = {
    {{ImGuiCol_Text}, {0.80f, 0.80f, 0.83f, 1.00f}},
    {{ImGuiCol_TextDisabled, ImGuiCol_FrameBgHovered, ImGuiCol_ButtonHovered, ImGuiCol_SeparatorHovered},
     {0.24f, 0.23f, 0.29f, 1.00f}},
    {{ImGuiCol_WindowBg, ImGuiCol_ScrollbarGrabActive, ImGuiCol_SliderGrabActive, ImGuiCol_HeaderActive,
      ImGuiCol_ResizeGripActive},
     {0.06f, 0.05f, 0.07f, 1.00f}},
    {{ImGuiCol_ChildBg, ImGuiCol_PopupBg, ImGuiCol_TitleBgActive}, {0.07f, 0.07f, 0.09f, 1.00f}},
    {{ImGuiCol_Border}, {0.30f, 0.30f, 0.33f, 0.88f}},
    {{ImGuiCol_BorderShadow}, {0.92f, 0.91f, 0.88f, 0.00f}},
    {{ImGuiCol_FrameBg, ImGuiCol_TitleBg, ImGuiCol_MenuBarBg, ImGuiCol_ScrollbarBg, ImGuiCol_Button},
     {0.10f, 0.09f, 0.12f, 1.00f}},
    {{ImGuiCol_FrameBgActive, ImGuiCol_ScrollbarGrabHovered, ImGuiCol_ButtonActive, ImGuiCol_HeaderHovered,
      ImGuiCol_Separator, ImGuiCol_SeparatorActive, ImGuiCol_ResizeGripHovered},
     {0.56f, 0.56f, 0.58f, 1.00f}},
    {{ImGuiCol_TitleBgCollapsed}, {1.00f, 0.98f, 0.95f, 0.75f}},
    {{ImGuiCol_ScrollbarGrab, ImGuiCol_CheckMark, ImGuiCol_SliderGrab}, {0.80f, 0.80f, 0.83f, 0.31f}},
    {{ImGuiCol_Header}, {0.20f, 0.19f, 0.22f, 1.00f}},
    {{ImGuiCol_ResizeGrip}, {0.00f, 0.00f, 0.00f, 0.00f}},
    {{ImGuiCol_PlotLines, ImGuiCol_PlotHistogram}, {0.40f, 0.39f, 0.38f, 0.63f}},
    {{ImGuiCol_PlotLinesHovered, ImGuiCol_PlotHistogramHovered}, {0.25f, 1.00f, 0.00f, 1.00f}},
    {{ImGuiCol_TextSelectedBg}, {0.25f, 1.00f, 0.00f, 0.43f}},
    {{ImGuiCol_ModalWindowDimBg}, {1.00f, 0.98f, 0.95f, 0.73f}},
};

}  // namespace

void Editor::ApplyEditorStyle()
{
    ImGuiStyle& style = ImGui::GetStyle();
    style.WindowPadding = ImVec2(0, 0);
    style.WindowRounding = 0.0f;
    style.WindowBorderSize = 1.0f;
    style.FramePadding = ImVec2(5, 0);
    style.FrameRounding = 0.0f;
    style.ItemSpacing = ImVec2(12, 8);
    style.ItemInnerSpacing = ImVec2(8, 6);
    style.IndentSpacing = 25.0f;
    style.ScrollbarSize = 15.0f;
    style.ScrollbarRounding = 0.0f;
    style.GrabMinSize = 5.0f;
    style.GrabRounding = 3.0f;
    style.DisplaySafeAreaPadding = ImVec2(5, 5);
    for (const SlotColours& entry : EditorColours) {
        for (ImGuiCol slot : entry.slots)
            style.Colors[slot] = entry.colour;
    }
}

}  // namespace Engine

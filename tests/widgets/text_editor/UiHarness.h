// A headless Dear ImGui context for the text editor's tests: a display size, a built font atlas
// (the default font at 16 pixels, so one line is 16 pixels high), the key map of the SDL2
// back-end and a clipboard of our own. Frame() runs one UI frame with the editor inside a
// full-screen window whose top-left corner is the text child's.
#pragma once

#include <imgui.h>

#include <functional>
#include <string>

#include "widgets/text_editor/TextEditor.h"

class UiHarness {
public:
    UiHarness();
    ~UiHarness();

    // One frame of deltaTime seconds. Keys pressed for it are released after it.
    void Frame(TextEditor& editor, ImVec2 size = ImVec2(400.0f, 200.0f), float deltaTime = 1.0f / 60.0f);

    // Input for the next frame.
    void PressKey(int keyIndex);
    void PressNamedKey(ImGuiKey key) { PressKey(ImGui::GetIO().KeyMap[key]); }
    void SetModifiers(bool ctrl, bool shift, bool alt);
    void Type(const std::string& text);
    void MoveMouse(ImVec2 position);
    void SetMouseDown(bool down);

    // Moves there, presses and releases: three frames.
    void Click(TextEditor& editor, ImVec2 position);

    // The centre of a text cell: cell 0 is the first cell after the line-number gutter.
    ImVec2 CellCentre(int line, float cell) const;
    float CellWidth() const;
    float LineHeight() const;

    // Whether the last frame drew any vertex of this colour.
    bool DrewColour(ImU32 colour) const;

    std::string clipboard;
    bool clipboardSet = false;
    std::function<void()> beforeEditor;  // runs in each frame's window before the editor

private:
    ImGuiContext* mContext = nullptr;
    int mPressedKeys[8] = {};
    int mPressedCount = 0;
};

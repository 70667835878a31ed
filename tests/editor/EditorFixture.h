// The editor tests' fixture: a headless UI context (a 1280 x 720 display, the default font
// built, no renderer back-end), frames driven by hand with the mouse and keys fed through the
// UI's input state, held keys the test chooses, and small scenes of objects.
#pragma once

#include "editor/Editor.h"

#include <gtest/gtest.h>
#include <imgui.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>

struct ImGuiWindow;

namespace EditorTest {

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One UI frame of 1/60 s around `draw` (by default the editor's own frame).
    void Frame(const std::function<void()>& draw);
    void Frame();

    // Mouse input for the following frames.
    void MoveMouse(float x, float y);
    void PressLeft(bool down);
    void PressRight(bool down);
    void Wheel(float steps);
    // UI keys (the virtual-key codes the key map gives them) and typed text.
    void PressKey(int key, bool down);
    void Type(const char* text);

    // A click (press frame, release frame) at a point, running `draw` in both frames.
    void Click(float x, float y, const std::function<void()>& draw);
    void DoubleClick(float x, float y, const std::function<void()>& draw);

    // A live object with a Transform at (x, y) of half-size (sx, sy).
    std::uint32_t Place(const std::string& name, float x, float y, float sx = 10.0f, float sy = 10.0f);
    // The same with a RigidBody box of the same half-size.
    std::uint32_t PlaceBody(const std::string& name, float x, float y, float sx = 10.0f, float sy = 10.0f);

    // A window of the last frame by name ("Object List") and its first child window.
    static ImGuiWindow* Window(const char* name);
    static ImGuiWindow* FirstChild(const char* name);
    // Opens a collapsing header of a window (from the next frame on), as a click on it would.
    static void OpenHeader(const char* windowName, const char* title);
    // The innermost open popup window, or null.
    static ImGuiWindow* OpenPopup();

    Engine::Editor& editor();

    std::set<std::uint8_t> heldKeys;
};

// A child window of a window whose name holds `part` ("FileChild"), or null.
ImGuiWindow* ChildNamed(const char* windowName, const char* part);

// A file of tests/editor/fixtures.
std::filesystem::path Fixture(const std::string& name);

}  // namespace EditorTest

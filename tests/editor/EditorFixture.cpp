#include "EditorFixture.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/RigidBody.h"
#include "core/Transform.h"

#include "TestSupport.h"

#include <imgui_internal.h>

#include <cstring>

namespace EditorTest {

void EditorFixture::SetUp()
{
    if (ImGui::GetCurrentContext() == nullptr)
        ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // no layout from an earlier run
    io.DisplaySize = ImVec2(1280, 720);
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &width, &height);
    // The UI reads keys by these indices into its key-down table, as the SDL back-end fills it.
    io.KeyMap[ImGuiKey_Enter] = 0x0D;
    io.KeyMap[ImGuiKey_Backspace] = 0x08;
    io.KeyMap[ImGuiKey_Delete] = 0x2E;
    io.KeyMap[ImGuiKey_LeftArrow] = 0x25;
    io.KeyMap[ImGuiKey_RightArrow] = 0x27;
    io.KeyMap[ImGuiKey_UpArrow] = 0x26;
    io.KeyMap[ImGuiKey_DownArrow] = 0x28;
    io.KeyMap[ImGuiKey_Tab] = 0x09;
    io.KeyMap[ImGuiKey_Escape] = 0x1B;
    io.KeyMap[ImGuiKey_A] = 'A';
    InitializeLogging();
    FrameDeltaTime = 1.0f / 60.0f;
    editor().keyHeld = [this](std::uint8_t key) { return heldKeys.count(key) != 0; };
}

void EditorFixture::TearDown() {}

Engine::Editor& EditorFixture::editor() { return Engine::Editor::Instance(); }

void EditorFixture::Frame(const std::function<void()>& draw)
{
    ImGui::GetIO().DeltaTime = 1.0f / 60.0f;
    ImGui::NewFrame();
    draw();
    ImGui::Render();
    ImGui::GetIO().MouseWheel = 0.0f;
}

void EditorFixture::Frame()
{
    Frame([this] { editor().RunFrame(); });
}

void EditorFixture::MoveMouse(float x, float y) { ImGui::GetIO().MousePos = ImVec2(x, y); }
void EditorFixture::PressLeft(bool down) { ImGui::GetIO().MouseDown[0] = down; }
void EditorFixture::PressRight(bool down) { ImGui::GetIO().MouseDown[1] = down; }
void EditorFixture::PressKey(int key, bool down) { ImGui::GetIO().KeysDown[key] = down; }
void EditorFixture::Type(const char* text) { ImGui::GetIO().AddInputCharactersUTF8(text); }
void EditorFixture::Wheel(float steps) { ImGui::GetIO().MouseWheel = steps; }

void EditorFixture::Click(float x, float y, const std::function<void()>& draw)
{
    MoveMouse(x, y);
    PressLeft(true);
    Frame(draw);
    PressLeft(false);
    Frame(draw);
}

void EditorFixture::DoubleClick(float x, float y, const std::function<void()>& draw)
{
    Click(x, y, draw);
    Click(x, y, draw);
}

std::uint32_t EditorFixture::Place(const std::string& name, float x, float y, float sx, float sy)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject(name);
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    store.AddComponent<Engine::Transform>(id);
    Engine::Transform* transform = store.GetComponent<Engine::Transform>(id);
    transform->x_pos = x;
    transform->y_pos = y;
    transform->x_sca = sx;
    transform->y_sca = sy;
    return id;
}

std::uint32_t EditorFixture::PlaceBody(const std::string& name, float x, float y, float sx, float sy)
{
    const std::uint32_t id = Place(name, x, y, sx, sy);
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    store.AddComponent<Engine::RigidBody>(id);
    Engine::RigidBody* body = store.GetComponent<Engine::RigidBody>(id);
    body->left = -sx;
    body->right = sx;
    body->top = sy;
    body->bottom = -sy;
    return id;
}

void EditorFixture::OpenHeader(const char* windowName, const char* title)
{
    ImGuiWindow* window = Window(windowName);
    window->StateStorage.SetInt(ImHashStr(title, 0, window->ID), 1);
}

ImGuiWindow* EditorFixture::OpenPopup()
{
    ImGuiContext& context = *ImGui::GetCurrentContext();
    return context.OpenPopupStack.empty() ? nullptr : context.OpenPopupStack.back().Window;
}

ImGuiWindow* EditorFixture::Window(const char* name) { return ImGui::FindWindowByName(name); }

ImGuiWindow* EditorFixture::FirstChild(const char* name)
{
    ImGuiWindow* parent = Window(name);
    for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows) {
        if (window->ParentWindow == parent && (window->Flags & ImGuiWindowFlags_ChildWindow) != 0)
            return window;
    }
    return nullptr;
}

ImGuiWindow* ChildNamed(const char* windowName, const char* part)
{
    ImGuiWindow* parent = ImGui::FindWindowByName(windowName);
    for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows) {
        if (window->RootWindow == parent && window != parent && std::strstr(window->Name, part) != nullptr)
            return window;
    }
    return nullptr;
}

std::filesystem::path Fixture(const std::string& name) { return std::filesystem::path(VANTREL_TEST_DIR) / "editor" / "fixtures" / name; }

}  // namespace EditorTest

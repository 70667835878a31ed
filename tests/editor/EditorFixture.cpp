#include "EditorFixture.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/RigidBody.h"
#include "core/Transform.h"

#include <imgui_internal.h>

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

std::filesystem::path Fixture(const std::string& name) { return std::filesystem::path(VANTREL_TEST_DIR) / "editor" / "fixtures" / name; }

}  // namespace EditorTest

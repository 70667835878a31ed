// The "Inspector" window: the picked object's name, one panel per component it has, and the
// "Add Component" button with its popup. Every edit writes straight into the component.
#include "editor/Editor.h"

#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "editor/EditorLayout.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>

namespace Engine {

namespace {

// Objects from here up are the game's own screens and never inspected.
constexpr std::uint32_t MaxInspectedId = 10000;

// An item named as the component's panel.
template <typename T>
void AddComponentItem(std::uint32_t objectId, bool& open)
{
    if (ImGui::MenuItem(ComponentFields<T>::title)) {
        ComponentStore::Instance().AddComponent<T>(objectId);
        open = false;
        ImGui::CloseCurrentPopup();
    }
}

}  // namespace

void Editor::ShowInspectorWindow()
{
    PlaceEditorWindow("Inspector");
    ImGui::Begin("Inspector", nullptr, windowFlags);
    ImGui::Text("Inspector");
    const std::uint32_t id = static_cast<std::uint32_t>(selectedObject);
    if (id < MaxInspectedId && GameObjectTable::Instance().Get(id) != nullptr) {
        ShowNameField(id);
        ImGui::Text("%s", GameObjectTable::Instance().Get(id)->name.c_str());
        ShowTransformPanel(id);
        ShowSpritePanel(id);
        ShowControllerPanel(id);
        ShowRigidBodyPanel(id);
        ShowParallaxPanel(id);
        ShowAnimationPanel(id);
        ShowEventsPanel(id);
        ShowCheckpointPanel(id);
        ShowRangePanel(id);

        ImGui::SetCursorPos(ImVec2(15, ImGui::GetWindowHeight() - 30));
        if (ImGui::Button("Add Component", ImVec2(100, 22)) || addComponentOpen) {
            addComponentOpen = true;
            ShowAddComponentPopup(id);
        }
    }
    ImGui::End();
}

void Editor::ShowNameField(std::uint32_t objectId)
{
    GameObject* object = GameObjectTable::Instance().Get(objectId);
    ImGui::SameLine(0, 40);
    ImGui::PushItemWidth(140);
    if (object->name != inspector.loadedName) {
        const std::size_t length = std::min(object->name.size(), InspectorState::BufferSize - 1);
        std::memcpy(inspector.nameBuffer.data(), object->name.data(), length);
        inspector.nameBuffer[length] = '\0';
        inspector.loadedName = object->name;
    }
    if (ImGui::InputText("##Name", inspector.nameBuffer.data(), inspector.nameBuffer.size(), ImGuiInputTextFlags_EnterReturnsTrue)) {
        object->name = inspector.nameBuffer.data();
        inspector.loadedName = object->name;
    }
    ImGui::PopItemWidth();
}

void Editor::ShowAddComponentPopup(std::uint32_t objectId)
{
    ImGui::OpenPopup("AddComponent");
    ImGui::PushItemWidth(150);
    if (ImGui::BeginPopup("AddComponent")) {
        ImGui::PushItemWidth(70);
        AddComponentItem<Transform>(objectId, addComponentOpen);
        AddComponentItem<Sprite>(objectId, addComponentOpen);
        AddComponentItem<Controller>(objectId, addComponentOpen);
        AddComponentItem<RigidBody>(objectId, addComponentOpen);
        AddComponentItem<Parallax>(objectId, addComponentOpen);
        AddComponentItem<Animation>(objectId, addComponentOpen);
        AddComponentItem<EventSet>(objectId, addComponentOpen);
        AddComponentItem<Range>(objectId, addComponentOpen);
        ImGui::PopItemWidth();
        ImGui::EndPopup();
    }
    ImGui::PopItemWidth();
}

}  // namespace Engine

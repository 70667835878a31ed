// The "Object List" window: every live object of the level, picked by a double click, the
// buttons that add, store as archetype and remove the picked object, and the F key's camera
// travel to it. Also the black outline with which the editor marks an object.
#include "editor/Editor.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/EditorLayout.h"
#include "editor/ViewMapping.h"

#include <imgui.h>

#include <string>

namespace Engine {

void Editor::ShowObjectListWindow()
{
    PlaceEditorWindow("Object List");
    ImGui::SetNextWindowSize(ImVec2(250, 300));
    if (!ImGui::Begin("Object List", nullptr, windowFlags)) {
        ImGui::End();
        return;
    }
    ImGui::Text("Level Name: %s", LevelManager::Instance().currentLevel.c_str());

    const float windowWidth = ImGui::GetWindowWidth();
    const float windowHeight = ImGui::GetWindowHeight();
    ImGui::BeginGroup();
    ImGui::SetCursorPosX(5);
    ImGui::BeginChild(static_cast<ImGuiID>(25), ImVec2(windowWidth * 0.97f, windowHeight - 85), true);
    GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id < table.slots.size(); ++id) {
        const GameObject* object = table.slots[id].get();
        if (object == nullptr)
            continue;
        const std::string label = "Object " + std::to_string(id) + " " + object->name;
        const bool selected = static_cast<std::int32_t>(id) == selectedObject;
        if (ImGui::Selectable(label.c_str(), selected, ImGuiSelectableFlags_AllowDoubleClick)
            && ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left))
            selectedObject = static_cast<std::int32_t>(id);
    }
    ImGui::EndChild();
    ImGui::EndGroup();

    ImGui::SetCursorPos(ImVec2(15, windowHeight - 30));
    if (ImGui::Button("Add Object", ImVec2(100, 22)))
        AddObject();
    ImGui::SetCursorPos(ImVec2(22, windowHeight - 60));
    if (ImGui::Button("Save As Archetype", ImVec2(200, 22)) && table.Get(static_cast<std::uint32_t>(selectedObject)) != nullptr)
        LevelManager::Instance().SaveArchetype(static_cast<std::uint32_t>(selectedObject));
    ImGui::SetCursorPos(ImVec2(130, windowHeight - 30));
    if (ImGui::Button("Remove Object", ImVec2(100, 22)) && table.Get(static_cast<std::uint32_t>(selectedObject)) != nullptr) {
        LevelManager::Instance().DropFromLevel(static_cast<std::uint32_t>(selectedObject));
        table.RemoveGameObject(static_cast<std::uint32_t>(selectedObject));
        selectedObject = -1;
        DropRemovedFromSelection();
    }

    if ((keyHeld('F') || cameraMoving) && !scriptEditorFocused && static_cast<std::uint32_t>(selectedObject) < MaxEditableId) {
        cameraMoving = true;
        StepCameraToObject(static_cast<std::uint32_t>(selectedObject));
    }
    DrawObjectOutline(static_cast<std::uint32_t>(selectedObject), true);
    ImGui::End();
}

void Editor::AddObject()
{
    GameObjectTable& table = GameObjectTable::Instance();
    const std::uint32_t id = table.CreateGameObject("New Object " + std::to_string(table.highestUsed + 1));
    if (id == InvalidObjectId)
        return;
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Transform>(id);
    Transform* transform = store.GetComponent<Transform>(id);
    transform->x_sca = 15.0f;
    transform->y_sca = 15.0f;
    store.AddComponent<Sprite>(id);
    Sprite* sprite = store.GetComponent<Sprite>(id);
    sprite->MeshIndex = 0;
    sprite->Texture = "test.png";
    store.AddComponent<RigidBody>(id);
    RigidBody* body = store.GetComponent<RigidBody>(id);
    body->left = -15.0f;
    body->top = 15.0f;
    body->right = 15.0f;
    body->bottom = -15.0f;
    LevelManager::Instance().KeepInLevel(id);
}

void Editor::DrawObjectOutline(std::uint32_t objectId, bool withName)
{
    if (objectId > MaxEditableId)
        return;
    const Transform* transform = ComponentStore::Instance().GetComponent<Transform>(objectId);
    const GameObject* object = GameObjectTable::Instance().Get(objectId);
    if (transform == nullptr || object == nullptr)
        return;

    const ViewMapping view = ViewMapping::Current();
    const float left = view.ScreenX(transform->x_pos - transform->x_sca);
    const float right = view.ScreenX(transform->x_pos + transform->x_sca);
    const float top = view.ScreenY(transform->y_pos + transform->y_sca);
    const float bottom = view.ScreenY(transform->y_pos - transform->y_sca);

    ImDrawList* drawList = ImGui::GetWindowDrawList();
    drawList->PushClipRectFullScreen();
    const ImU32 black = IM_COL32(0, 0, 0, 255);
    drawList->AddRect(ImVec2(left, bottom), ImVec2(right, top), black, 0.0f, 0, 2.0f);
    if (withName) {
        const float x = (left + right) * 0.5f - 3.2f * static_cast<float>(object->name.size());
        drawList->AddText(ImVec2(x, top - 20.0f), black, object->name.c_str());
    }
    drawList->PopClipRect();
}

}  // namespace Engine

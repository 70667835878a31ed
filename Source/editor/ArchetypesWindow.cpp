// The "Archetypes" window: one coloured card per archetype record. A left press on a card
// makes an object from the record and places it with the mouse; a right press deletes the
// archetype from the archetype file.
#include "editor/Editor.h"

#include "core/Animation.h"
#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/EditorLayout.h"
#include "editor/ViewMapping.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace Engine {

namespace {

constexpr float CardSize = 30.0f;
constexpr float RowHeight = 55.0f;
// The depth of the ground and platforms, for a record written without one: depth 0 lies
// behind the sky (-1), where nothing placed would be seen.
constexpr float PlayFieldDepth = -1.3f;
constexpr float PixelsPerHalfCharacter = 3.5f;

ImU32 CardColour(const Sprite& sprite)
{
    int channels[4];
    for (int i = 0; i < 4; ++i)
        channels[i] = static_cast<int>(std::lround(std::clamp(sprite.Color[i], 0.0f, 1.0f) * 255.0f));
    return IM_COL32(channels[0], channels[1], channels[2], channels[3]);
}

}  // namespace

void Editor::ShowArchetypesWindow()
{
    PlaceEditorWindow("Archetypes");
    ImGui::Begin("Archetypes", nullptr, windowFlags);
    const ImGuiIO& io = ImGui::GetIO();
    const bool hovered = ImGui::IsWindowHovered();
    if (hovered) {
        if (ImGui::IsMouseClicked(ImGuiMouseButton_Left))
            ImGui::SetWindowFocus();
        if (io.MouseWheel != 0.0f)
            archetypeScroll = std::max(0.0f, archetypeScroll - io.MouseWheel * 60.0f);
    }

    const ImVec2 windowPos = ImGui::GetWindowPos();
    const float windowWidth = ImGui::GetWindowWidth();
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    float runningX = windowPos.x;
    float y = windowPos.y + 25.0f - archetypeScroll;
    std::vector<std::unique_ptr<ArchetypeRecord>>& records = LevelManager::Instance().archetypes;
    for (std::size_t index = 0; index < records.size(); ++index) {
        if (records[index] == nullptr)
            continue;
        const ArchetypeRecord& record = *records[index];
        const float halfName = PixelsPerHalfCharacter * static_cast<float>(record.name.size());
        const bool wideName = 2.0f * halfName >= CardSize;
        float x = runningX + (wideName ? halfName + 25.0f : RowHeight);
        // A card whose square or name would pass the window's right edge starts the next row.
        const float rightEnd = std::max(x + CardSize, x + 15.0f + halfName);
        if (rightEnd > windowPos.x + windowWidth) {
            y += RowHeight;
            x = windowPos.x + (wideName ? halfName : 25.0f);
        }
        drawList->AddRectFilled(ImVec2(x, y), ImVec2(x + CardSize, y + CardSize), CardColour(record.sprite));
        runningX = wideName ? x + halfName : x;

        const ImVec2 mouse = io.MousePos;
        const bool overCard = mouse.x > x - CardSize && mouse.x < x + CardSize && mouse.y > y - CardSize && mouse.y < y + CardSize;
        if (hovered && overCard) {
            // One object or one deletion per press: a button held over the cards repeats nothing.
            if (ImGui::IsMouseClicked(ImGuiMouseButton_Right) && !io.MouseDown[ImGuiMouseButton_Left]) {
                LevelManager::Instance().DeleteArchetype(record.name);
                break;
            }
            if (ImGui::IsMouseClicked(ImGuiMouseButton_Left) && !placingObject)
                placingObject = MakeObjectFromArchetype(index, mouse.x, mouse.y);
        }
        drawList->AddText(ImVec2(x + 15.0f - halfName, y + 35.0f), ImGui::GetColorU32(ImGuiCol_Text), record.name.c_str());
    }

    if (placingObject) {
        const std::uint32_t id = *placingObject;
        const int result = DragObject(id);
        if (result != 1) {
            if (result == 0) {
                LevelManager::Instance().DropFromLevel(id);
                GameObjectTable::Instance().RemoveGameObject(id);
            }
            dragAnchors.erase(id);
            ghostBeforeDrag.erase(id);
            placingObject.reset();
        }
    }
    ImGui::End();
}

std::uint32_t Editor::MakeObjectFromArchetype(std::size_t recordIndex, float mouseX, float mouseY)
{
    ArchetypeRecord& record = *LevelManager::Instance().archetypes[recordIndex];
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(record.name + "(" + std::to_string(record.instanceCount) + ")");
    if (id == InvalidObjectId)
        return id;

    const ViewMapping view = ViewMapping::Current();
    const float x = view.WorldX(mouseX);
    const float y = view.WorldY(mouseY);
    ComponentStore& store = ComponentStore::Instance();
    // Each component is made only when the record's copy qualifies, and takes every field of
    // its table from the record but for the rules written after each copy.
    if (record.transform.x_sca > 0.0f) {
        store.AddComponent<Transform>(id);
        Transform* transform = store.GetComponent<Transform>(id);
        CopyFields(record.transform, *transform);
        transform->x_pos = x;
        transform->y_pos = y;
        transform->z_pos = record.transform.z_pos != 0.0f ? record.transform.z_pos : PlayFieldDepth;
    }
    if (!record.sprite.Texture.empty()) {
        store.AddComponent<Sprite>(id);
        CopyFields<&Sprite::MeshIndex>(record.sprite, *store.GetComponent<Sprite>(id));  // drawn as the quad
    }
    if (record.rigidBody.top > 0.0f) {
        store.AddComponent<RigidBody>(id);
        RigidBody* body = store.GetComponent<RigidBody>(id);
        CopyFields<&RigidBody::Weight>(record.rigidBody, *body);  // the weight stays 0
        body->Ghost = true;  // collides with nothing while it is placed
        ghostBeforeDrag[id] = record.rigidBody.Ghost;  // what the drop gives it
    }
    if (!record.animation.Handle.empty()) {
        store.AddComponent<Animation>(id);
        CopyFields(record.animation, *store.GetComponent<Animation>(id));
    }
    for (const auto& [event, handlers] : record.eventSet.events) {
        for (const std::string& handler : handlers)
            GetSystem<EventManager>()->AddEvent(id, event, handler);
    }
    if (record.range.range > 0.0f) {
        store.AddComponent<Range>(id);
        Range* range = store.GetComponent<Range>(id);
        CopyFields(record.range, *range);
        range->fireInterval = record.range.fireInterval;  // not a field of the table
    }
    ++record.instanceCount;
    LevelManager::Instance().KeepInLevel(id);

    // The placing drag moves the object from where it was made, under the mouse.
    if (const Transform* transform = store.GetComponent<Transform>(id))
        dragAnchors[id] = {x, y, transform->z_pos};
    return id;
}

}  // namespace Engine

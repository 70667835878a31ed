// The game view's drag step and duplication: the picked objects follow the mouse from their
// anchors, snap to the grid, grow and shrink with W, S, D and A, and Ctrl and a click copies
// them. The game view runs the step for its selection, the archetype cards for a placed object.
#include "editor/Editor.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"
#include "platform/VirtualKeys.h"

#include <imgui.h>

#include <algorithm>
#include <string>

namespace Engine {

namespace {

constexpr float ResizeStep = 1.5f;

// How many whole units an edge lies past the last grid line towards zero (truncated, with
// the edge's sign); 0 for an edge on a grid line.
float SnapOffset(float edge)
{
    const int remainder = static_cast<int>(edge) % static_cast<int>(Editor::GridStep);
    return static_cast<float>(remainder);
}

}  // namespace

void Editor::DuplicateSelection()
{
    GameObjectTable& table = GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    const std::size_t count = selection.size();
    for (std::size_t copy = 0; copy < count; ++copy) {
        const std::uint32_t source = selection.front();
        selection.erase(selection.begin());
        const GameObject* original = table.Get(source);
        const Transform* from = store.GetComponent<Transform>(source);
        // A source without a Transform has no place to copy from and is left out.
        if (original == nullptr || from == nullptr)
            continue;
        const std::string name = original->name.substr(0, original->name.find('(')) + "(" + std::to_string(source) + ")";
        const std::uint32_t id = table.CreateGameObject(name);
        if (id == InvalidObjectId)
            continue;
        selection.push_back(id);
        dragAnchors.erase(source);
        dragAnchors[id] = {from->x_pos, from->y_pos, from->z_pos};

        store.AddComponent<Transform>(id);
        Transform* transform = store.GetComponent<Transform>(id);
        transform->x_pos = from->x_pos;
        transform->y_pos = from->y_pos;
        transform->z_pos = from->z_pos;  // drawn at its source's depth, not behind the sky
        transform->x_sca = from->x_sca;
        transform->y_sca = from->y_sca;
        transform->rot = from->rot;

        store.AddComponent<Sprite>(id);
        if (const Sprite* sprite = store.GetComponent<Sprite>(source)) {
            Sprite* copySprite = store.GetComponent<Sprite>(id);
            copySprite->MeshIndex = sprite->MeshIndex;
            std::copy(std::begin(sprite->Color), std::end(sprite->Color), std::begin(copySprite->Color));
            copySprite->Texture = sprite->Texture;
        }
        store.AddComponent<RigidBody>(id);
        RigidBody* body = store.GetComponent<RigidBody>(id);
        body->Ghost = true;  // until the drop, which gives it its source's flag
        const RigidBody* sourceBody = store.GetComponent<RigidBody>(source);
        if (sourceBody != nullptr) {
            body->top = sourceBody->top;
            body->bottom = sourceBody->bottom;
            body->left = sourceBody->left;
            body->right = sourceBody->right;
        }
        // A new press makes the copy, so no drag holds the source's flag at this moment.
        ghostBeforeDrag[id] = sourceBody != nullptr && sourceBody->Ghost;
        LevelManager::Instance().KeepInLevel(id);
    }
}

int Editor::DragObject(std::uint32_t objectId)
{
    if (objectId > MaxEditableId)
        return 2;
    ComponentStore& store = ComponentStore::Instance();
    Transform* transform = store.GetComponent<Transform>(objectId);
    RigidBody* body = store.GetComponent<RigidBody>(objectId);
    // Copies and placed objects get their entry when they are made; anything else without
    // one becomes solid again.
    const auto ghostAsBefore = [this, objectId] {
        const auto found = ghostBeforeDrag.find(objectId);
        return found != ghostBeforeDrag.end() && found->second;
    };
    if (ImGui::IsMouseClicked(ImGuiMouseButton_Right)) {
        if (body != nullptr)
            body->Ghost = ghostAsBefore();
        return 0;
    }

    const ImGuiIO& io = ImGui::GetIO();
    const auto anchor = dragAnchors.find(objectId);
    if (transform != nullptr && anchor != dragAnchors.end()) {
        const ViewMapping view = ViewMapping::Current();
        const ImVec2 click = io.MouseClickedPos[ImGuiMouseButton_Left];
        const ImVec2 mouse = io.MousePos;
        transform->x_pos = anchor->second[0] - (view.WorldX(click.x) - view.WorldX(mouse.x));
        transform->y_pos = anchor->second[1] - (view.WorldY(click.y) - view.WorldY(mouse.y));

        if (snapToGrid && body != nullptr) {
            // The object moves back by the remainder, so its left and top edges land on the grid.
            transform->x_pos -= SnapOffset(transform->x_pos + body->left);
            transform->y_pos -= SnapOffset(transform->y_pos + body->top);
        }
        if (!keyHeld(Platform::VirtualKey::Control) && body != nullptr) {
            if (keyHeld('W')) {
                transform->y_sca += ResizeStep;
                body->top += ResizeStep;
                body->bottom -= ResizeStep;
            }
            if (keyHeld('S')) {
                transform->y_sca -= ResizeStep;
                body->top -= ResizeStep;
                body->bottom += ResizeStep;
            }
            if (keyHeld('D')) {
                transform->x_sca += ResizeStep;
                body->right += ResizeStep;
                body->left -= ResizeStep;
            }
            if (keyHeld('A')) {
                transform->x_sca -= ResizeStep;
                body->right -= ResizeStep;
                body->left += ResizeStep;
            }
        }
    }
    if (ImGui::IsMouseReleased(ImGuiMouseButton_Left)) {
        if (body != nullptr)
            body->Ghost = ghostAsBefore();
        return 2;
    }
    return 1;
}

}  // namespace Engine

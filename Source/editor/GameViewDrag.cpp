// The game view's drag step and duplication: the picked objects follow the mouse from their
// anchors, snap to the grid, grow and shrink with W, S, D and A, and Ctrl and a click copies
// them. The game view runs the step for its selection, the archetype cards for a placed object.
#include "editor/Editor.h"

#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"
#include "platform/VirtualKeys.h"

#include <imgui.h>

#include <cmath>
#include <string>

namespace Engine {

namespace {

constexpr float ResizeStep = 1.5f;

// The grid line an edge snaps to: the last one towards zero, or the nearest when the edge
// is a hair from it (what the view's float mapping leaves of a pixel on a line).
float GridLineOf(float edge)
{
    const float steps = edge / Editor::GridStep;
    const float nearest = std::round(steps);
    return (std::abs(steps - nearest) < 1e-4f ? nearest : std::trunc(steps)) * Editor::GridStep;
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

        // Every field of the table, but for the rules after each copy.
        store.AddComponent<Transform>(id);
        CopyFields(*from, *store.GetComponent<Transform>(id));  // z too: drawn at its source's depth, not behind the sky

        store.AddComponent<Sprite>(id);
        if (const Sprite* sprite = store.GetComponent<Sprite>(source))
            CopyFields(*sprite, *store.GetComponent<Sprite>(id));
        store.AddComponent<RigidBody>(id);
        RigidBody* body = store.GetComponent<RigidBody>(id);
        const RigidBody* sourceBody = store.GetComponent<RigidBody>(source);
        // The edges only: body type, collider type and weight keep their defaults.
        if (sourceBody != nullptr)
            CopyFields<&RigidBody::BodyType, &RigidBody::ColliderType, &RigidBody::Weight>(*sourceBody, *body);
        body->Ghost = true;  // until the drop, which gives it its source's flag
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
        // An axis the mouse has not moved along keeps its place exactly, snapped or not.
        const bool movedX = mouse.x != click.x;
        const bool movedY = mouse.y != click.y;
        transform->x_pos = movedX ? anchor->second[0] - (view.WorldX(click.x) - view.WorldX(mouse.x)) : anchor->second[0];
        transform->y_pos = movedY ? anchor->second[1] - (view.WorldY(click.y) - view.WorldY(mouse.y)) : anchor->second[1];

        if (snapToGrid && body != nullptr) {
            // The left edge and the bottom edge (what the object stands on) land on grid lines.
            if (movedX)
                transform->x_pos = GridLineOf(transform->x_pos + body->left) - body->left;
            if (movedY)
                transform->y_pos = GridLineOf(transform->y_pos + body->bottom) - body->bottom;
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

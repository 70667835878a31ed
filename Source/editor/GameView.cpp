// The "Game" window: a see-through window over the game's picture in which the mouse zooms
// and pans the camera, picks objects and selects them with a rectangle, and the drag step
// (GameViewDrag.cpp) moves them; also the outlines, the grid and the "Saving..." banner.
#include "editor/Editor.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/RigidBody.h"
#include "core/Transform.h"
#include "editor/EditorLayout.h"
#include "editor/ViewMapping.h"
#include "graphics/Camera.h"

#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>

namespace Engine {

namespace {

constexpr float MinZoom = 0.2f;
constexpr float MaxZoom = 15.5f;
constexpr float BaseViewWidth = 1280.0f;
constexpr float BaseViewHeight = 720.0f;
constexpr float CameraStep = 15.0f;
constexpr float CameraArrived = 16.0f;
constexpr float BannerSeconds = 2.0f;
constexpr float BannerFontSize = 15.0f;
const ImU32 Black = IM_COL32(0, 0, 0, 255);
const ImU32 White = IM_COL32(255, 255, 255, 255);

struct ScreenBox {
    float left, right, upper, lower;  // lower has the larger screen y
};

ScreenBox BoxOf(const Transform& transform, const ViewMapping& view)
{
    return {view.ScreenX(transform.x_pos - transform.x_sca), view.ScreenX(transform.x_pos + transform.x_sca),
            view.ScreenY(transform.y_pos + transform.y_sca), view.ScreenY(transform.y_pos - transform.y_sca)};
}

// Every object with a Transform, lowest id first.
template <typename Visit>
void ForEachPlacedObject(Visit visit)
{
    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = std::min(GameObjectTable::Instance().highestUsed, MaxGameObjects - 1);
    for (std::uint32_t id = 0; id <= last; ++id) {
        if (Transform* transform = store.GetComponent<Transform>(id)) {
            if (!visit(id, *transform))
                return;
        }
    }
}

// The object drawn in front at a screen point: of the boxes that hold it (edges included),
// the nearest depth (smallest z), then the lowest id. A parallax layer spans the whole play
// band behind everything, so it is taken only where no other object is under the point.
std::optional<std::uint32_t> ObjectDrawnAt(ImVec2 point, const ViewMapping& view)
{
    ComponentStore& store = ComponentStore::Instance();
    std::optional<std::uint32_t> best;
    bool bestIsLayer = false;
    float bestDepth = 0.0f;
    ForEachPlacedObject([&](std::uint32_t id, Transform& transform) {
        const ScreenBox box = BoxOf(transform, view);
        if (!(box.left <= point.x && point.x <= box.right && box.upper <= point.y && point.y <= box.lower))
            return true;
        const bool isLayer = store.GetComponent<Parallax>(id) != nullptr;
        // Ids come in ascending order, so only a strictly better object replaces the best.
        const bool better = !best || (bestIsLayer && !isLayer) || (bestIsLayer == isLayer && transform.z_pos < bestDepth);
        if (better) {
            best = id;
            bestIsLayer = isLayer;
            bestDepth = transform.z_pos;
        }
        return true;
    });
    return best;
}

bool AnyPlacedObject()
{
    bool any = false;
    ForEachPlacedObject([&](std::uint32_t, Transform&) {
        any = true;
        return false;
    });
    return any;
}

// The snapping grid: a line every 25 world units across the view, where the snapped edges land.
void DrawGrid(ImDrawList& drawList, const ViewMapping& view)
{
    const float step = Editor::GridStep;
    const float left = view.WorldX(0.0f);
    const float right = view.WorldX(view.displayWidth);
    const float top = view.WorldY(0.0f);
    const float bottom = view.WorldY(view.displayHeight);
    for (float x = std::ceil(left / step) * step; x <= right; x += step)
        drawList.AddLine(ImVec2(view.ScreenX(x), 0.0f), ImVec2(view.ScreenX(x), view.displayHeight), Black, 1.0f);
    for (float y = std::ceil(bottom / step) * step; y <= top; y += step)
        drawList.AddLine(ImVec2(0.0f, view.ScreenY(y)), ImVec2(view.displayWidth, view.ScreenY(y)), Black, 1.0f);
}

}  // namespace

void Editor::ShowGameWindow()
{
    const ImVec4 clear(0, 0, 0, 0);
    for (ImGuiCol slot : {ImGuiCol_WindowBg, ImGuiCol_TitleBg, ImGuiCol_TitleBgActive, ImGuiCol_Text, ImGuiCol_Border,
                          ImGuiCol_BorderShadow})
        ImGui::PushStyleColor(slot, clear);
    PlaceEditorWindow("Game");
    ImGui::Begin("Game", nullptr, windowFlags);
    if (showOutlines)
        DrawAllOutlines();
    ZoomAndPan();
    HandlePicking();
    ShowSavingBanner();
    ImGui::End();
    ImGui::PopStyleColor(6);
}

void Editor::ShowViewAtZoom()
{
    Camera* camera = Camera::Instance();
    camera->viewWidth = zoom * BaseViewWidth;
    camera->viewHeight = zoom * BaseViewHeight;
}

void Editor::ZoomAndPan()
{
    const ImGuiIO& io = ImGui::GetIO();
    Camera* camera = Camera::Instance();
    const bool hovered = ImGui::IsWindowHovered();
    if (hovered && io.MouseWheel != 0.0f) {
        zoom = std::clamp(zoom - io.MouseWheel * 0.2f, MinZoom, MaxZoom);
        ShowViewAtZoom();
    }
    if (hovered && ImGui::IsMouseClicked(ImGuiMouseButton_Right)) {
        if (!gameView.panning) {
            gameView.panStartEye = ImVec2(camera->eye[0], camera->eye[1]);
            gameView.panStartMouse = io.MouseClickedPos[ImGuiMouseButton_Right];
            gameView.panning = true;
        }
    } else if (!gameView.panning) {
        return;
    }
    if (io.MouseDown[ImGuiMouseButton_Right]) {
        // The world is grabbed: it follows the mouse, also outside the window.
        camera->eye[0] = (gameView.panStartMouse.x - io.MousePos.x) * zoom + gameView.panStartEye.x;
        camera->eye[1] = (io.MousePos.y - gameView.panStartMouse.y) * zoom + gameView.panStartEye.y;
        camera->position[0] = camera->eye[0];
        camera->position[1] = camera->eye[1];
        return;
    }
    if (ImGui::IsMouseReleased(ImGuiMouseButton_Right))
        gameView.panning = false;
}

void Editor::HandlePicking()
{
    const ImGuiIO& io = ImGui::GetIO();
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    const ViewMapping view = ViewMapping::Current();
    ComponentStore& store = ComponentStore::Instance();

    if (snapToGrid)
        DrawGrid(*drawList, view);

    // A drag follows a press on an object; with nothing selected (a copy of nothing, the
    // selection deleted) there is nothing to follow, and a later rectangle must not move.
    if (selection.empty())
        gameView.dragging = false;

    if (ImGui::IsMouseClicked(ImGuiMouseButton_Left) && ImGui::IsWindowHovered()) {
        const ImVec2 click = io.MouseClickedPos[ImGuiMouseButton_Left];
        const std::optional<std::uint32_t> picked = ObjectDrawnAt(click, view);
        if (!picked) {
            selectedObject = -1;
            // A rectangle starts only where some object could be caught by it.
            gameView.boxSelecting = AnyPlacedObject();
            gameView.boxStart = click;
            selection.clear();
            dragAnchors.clear();
            ghostBeforeDrag.clear();
        } else {
            const std::uint32_t id = *picked;
            Transform& transform = *store.GetComponent<Transform>(id);
            gameView.boxSelecting = false;
            gameView.dragging = true;
            if (ctrlHeld) {
                DuplicateSelection();
            } else if (selection.size() <= 1) {
                selection.assign(1, id);
                dragAnchors.clear();
                dragAnchors[id] = {transform.x_pos, transform.y_pos, transform.z_pos};
                selectedObject = static_cast<std::int32_t>(id);
                if (RigidBody* body = store.GetComponent<RigidBody>(id)) {
                    ghostBeforeDrag[id] = body->Ghost;
                    body->Ghost = true;  // the dragged object collides with nothing
                }
            } else {
                for (std::uint32_t selected : selection) {
                    if (RigidBody* body = store.GetComponent<RigidBody>(selected)) {
                        ghostBeforeDrag[selected] = body->Ghost;
                        body->Ghost = true;
                    }
                }
                for (auto& [anchored, anchor] : dragAnchors) {
                    if (const Transform* moved = store.GetComponent<Transform>(anchored))
                        anchor = {moved->x_pos, moved->y_pos, moved->z_pos};
                }
            }
            if (selection.empty())
                gameView.dragging = false;
        }
    }

    if (gameView.boxSelecting) {
        gameView.boxEnd = io.MousePos;
        drawList->AddRect(gameView.boxStart, gameView.boxEnd, Black, 0.0f, 0, 1.0f);
        if (ImGui::IsMouseReleased(ImGuiMouseButton_Left))
            gameView.boxSelecting = false;
        const float minX = std::min(gameView.boxStart.x, gameView.boxEnd.x);
        const float maxX = std::max(gameView.boxStart.x, gameView.boxEnd.x);
        const float minY = std::min(gameView.boxStart.y, gameView.boxEnd.y);
        const float maxY = std::max(gameView.boxStart.y, gameView.boxEnd.y);
        ForEachPlacedObject([&](std::uint32_t id, Transform& transform) {
            const ImVec2 p(view.ScreenX(transform.x_pos), view.ScreenY(transform.y_pos));
            std::erase(selection, id);
            if (minX < p.x && p.x < maxX && minY < p.y && p.y < maxY) {
                drawList->AddCircleFilled(p, 3.0f, White, 12);
                selection.push_back(id);
                dragAnchors.try_emplace(id, std::array{transform.x_pos, transform.y_pos, transform.z_pos});
                const RigidBody* body = store.GetComponent<RigidBody>(id);
                ghostBeforeDrag.try_emplace(id, body != nullptr && body->Ghost);
            }
            return true;
        });
        if (!selection.empty())
            selectedObject = static_cast<std::int32_t>(selection.front());
    }

    for (std::size_t index = 0; index < selection.size(); ++index)
        DrawObjectOutline(selection[index], index == 0);

    if (gameView.dragging) {
        for (std::uint32_t id : selection) {
            const int result = DragObject(id);
            if (result == 0) {
                Transform* transform = store.GetComponent<Transform>(id);
                const auto anchor = dragAnchors.find(id);
                if (transform != nullptr && anchor != dragAnchors.end()) {
                    transform->x_pos = anchor->second[0];
                    transform->y_pos = anchor->second[1];
                    transform->z_pos = anchor->second[2];
                }
                gameView.dragging = false;
            } else if (result == 2) {
                gameView.dragging = false;
            }
        }
    }
}

void Editor::StepCameraToObject(std::uint32_t objectId)
{
    const Transform* transform = ComponentStore::Instance().GetComponent<Transform>(objectId);
    if (transform == nullptr) {
        // Nothing to travel to: a later selection must not set off on its own.
        cameraMoving = false;
        return;
    }
    Camera* camera = Camera::Instance();
    float ex = camera->eye[0];
    float ey = camera->eye[1];
    bool arrivedX = false;
    bool arrivedY = false;
    if (ex > transform->x_pos + CameraArrived)
        ex -= CameraStep;
    else if (ex < transform->x_pos - CameraArrived)
        ex += CameraStep;
    else
        arrivedX = true;
    if (ey > transform->y_pos + CameraArrived)
        ey -= CameraStep;
    else if (ey < transform->y_pos - CameraArrived)
        ey += CameraStep;
    else
        arrivedY = true;
    if (arrivedX && arrivedY)
        cameraMoving = false;
    camera->eye[0] = ex;
    camera->eye[1] = ey;
    camera->position[0] = ex;
    camera->position[1] = ey;
}

void Editor::DrawAllOutlines()
{
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    const ViewMapping view = ViewMapping::Current();
    ForEachPlacedObject([&](std::uint32_t, Transform& transform) {
        const ScreenBox box = BoxOf(transform, view);
        drawList->AddRect(ImVec2(box.left, box.lower), ImVec2(box.right, box.upper), Black, 0.0f, 0, 2.0f);
        return true;
    });
}

void Editor::ShowSavingBanner()
{
    // Shown for a while after a save only; then it waits for the next one.
    if (savingBannerTimer < -BannerSeconds)
        return;
    savingBannerTimer -= FrameDeltaTime;
    if (savingBannerTimer <= 0.0f && savingBannerTimer >= -BannerSeconds) {
        const ImVec2 corner = ImGui::GetContentRegionMax();
        ImDrawList* drawList = ImGui::GetWindowDrawList();
        const ImVec4& clip = drawList->_ClipRectStack.back();
        // A text longer than "Saving..." moves left so that the clip does not cut it.
        const float width = ImGui::GetFont()->CalcTextSizeA(BannerFontSize, FLT_MAX, 0.0f, bannerText.c_str()).x;
        const float x = std::min(corner.x + 170.0f, clip.z - width - 5.0f);
        drawList->AddText(ImGui::GetFont(), BannerFontSize, ImVec2(x, corner.y - 20.0f), Black, bannerText.c_str(), nullptr,
                          0.0f, &clip);
    }
}

}  // namespace Engine

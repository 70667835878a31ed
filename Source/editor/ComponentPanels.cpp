// The inspector's panels, one per component type: a collapsing header, rows of a label and
// the value widgets, and (for most) a "Remove" button that takes the component off at once.
#include "editor/Editor.h"

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"

#include <imgui.h>

#include <iomanip>
#include <sstream>
#include <string>

namespace Engine {

namespace {

constexpr float Pi = 3.14159f;
constexpr float PixelsPerCharacter = 7.0f;

// A row label, then the value widgets from `x` on.
void RowLabel(const char* label, float x)
{
    ImGui::Text("%s", label);
    ImGui::SameLine(x);
}

// A drag field under its own identifier (a number or a name); true when the user changed it.
template <typename Identifier>
bool DragField(Identifier identifier, const char* label, float& value)
{
    ImGui::PushID(identifier);
    const bool changed = ImGui::DragFloat(label, &value, 1.0f, 0.0f, 0.0f, "%.3f");
    ImGui::PopID();
    return changed;
}

template <typename T>
void RemoveButton(const char* identifier, std::uint32_t objectId)
{
    ImGui::PushID(identifier);
    if (ImGui::Button("Remove"))
        ComponentStore::Instance().RemoveComponent<T>(objectId);
    ImGui::PopID();
}

struct NamedValue {
    const char* name;
    std::int32_t value;
};

// A selectable showing the current value's name (empty when it has none) that opens a popup
// of every named value; choosing one stores it.
template <std::size_t N>
void ChoiceField(const char* popup, const NamedValue (&choices)[N], std::int32_t& value)
{
    const char* current = "";
    for (const NamedValue& choice : choices) {
        if (choice.value == value)
            current = choice.name;
    }
    ImGui::PushID(popup);
    if (ImGui::Selectable(current))
        ImGui::OpenPopup(popup);
    if (ImGui::BeginPopup(popup)) {
        for (const NamedValue& choice : choices) {
            if (ImGui::MenuItem(choice.name)) {
                value = choice.value;
                ImGui::CloseCurrentPopup();
            }
        }
        ImGui::EndPopup();
    }
    ImGui::PopID();
}

// A selectable showing the current name that opens a popup listing `names`.
void NameListField(const char* popup, const std::vector<std::string>& names, std::string& value)
{
    ImGui::PushID(popup);
    if (ImGui::Selectable(value.c_str()))
        ImGui::OpenPopup(popup);
    if (ImGui::BeginPopup(popup)) {
        for (const std::string& name : names) {
            if (ImGui::MenuItem(name.c_str())) {
                value = name;
                ImGui::CloseCurrentPopup();
            }
        }
        ImGui::EndPopup();
    }
    ImGui::PopID();
}

// A read-only value right-aligned to end at `rightEdge`, followed by its axis letter.
void ReadOnlyValue(float value, int digits, float rightEdge, const char* axis)
{
    std::ostringstream text;
    text << std::setprecision(digits) << value;
    const std::string shown = text.str();
    ImGui::SameLine(rightEdge - PixelsPerCharacter * static_cast<float>(shown.size()));
    ImGui::Text("%s", shown.c_str());
    ImGui::SameLine(rightEdge + 5.0f);
    ImGui::Text("%s", axis);
}

}  // namespace

void Editor::ShowTransformPanel(std::uint32_t objectId)
{
    ComponentStore& store = ComponentStore::Instance();
    Transform* transform = store.GetComponent<Transform>(objectId);
    if (transform == nullptr || !ImGui::CollapsingHeader("Transform"))
        return;
    RowLabel(" Position", 70);
    ImGui::PushItemWidth(35);
    DragField(0, "X", transform->x_pos);
    ImGui::SameLine();
    DragField(1, "Y", transform->y_pos);
    ImGui::SameLine();
    DragField(5, "Z", transform->z_pos);
    ImGui::PopItemWidth();

    // The body's box grows and shrinks with the scale, on both sides.
    RowLabel(" Scale", 70);
    ImGui::PushItemWidth(65);
    float scaleX = transform->x_sca;
    if (DragField(2, "X", scaleX)) {
        const float change = scaleX - transform->x_sca;
        transform->x_sca = scaleX;
        if (RigidBody* body = store.GetComponent<RigidBody>(objectId)) {
            body->left -= change;
            body->right += change;
        }
    }
    ImGui::SameLine();
    float scaleY = transform->y_sca;
    if (DragField(3, "Y", scaleY)) {
        const float change = scaleY - transform->y_sca;
        transform->y_sca = scaleY;
        if (RigidBody* body = store.GetComponent<RigidBody>(objectId)) {
            body->top += change;
            body->bottom -= change;
        }
    }
    RowLabel(" Rotation", 70);
    float degrees = transform->rot * -180.0f / Pi;
    if (DragField(4, "X", degrees))
        transform->rot = degrees * Pi / -180.0f;
    ImGui::PopItemWidth();
    RemoveButton<Transform>("Transform Remove Button", objectId);
}

void Editor::ShowSpritePanel(std::uint32_t objectId)
{
    Sprite* sprite = ComponentStore::Instance().GetComponent<Sprite>(objectId);
    if (sprite == nullptr || !ImGui::CollapsingHeader("Sprite"))
        return;
    RowLabel(" Sprite Source", 110);
    ImGui::PushItemWidth(70);
    NameListField("SpriteSource", imageNames, sprite->Texture);
    ImGui::PopItemWidth();
    RowLabel(" Color", 75);
    ImGui::ColorEdit4("##Color", sprite->Color, ImGuiColorEditFlags_AlphaBar | ImGuiColorEditFlags_AlphaPreview);
    RemoveButton<Sprite>("Sprite Remove Button", objectId);
}

void Editor::ShowControllerPanel(std::uint32_t objectId)
{
    const Controller* controller = ComponentStore::Instance().GetComponent<Controller>(objectId);
    if (controller == nullptr || !ImGui::CollapsingHeader("Controller"))
        return;
    ImGui::Text(" Acceleration");
    ReadOnlyValue(controller->x_acc, 8, 138, "X");
    ReadOnlyValue(controller->y_acc, 8, 230, "Y");
    ImGui::Text(" Velocity");
    ReadOnlyValue(controller->x_vel, 4, 138, "X");
    ReadOnlyValue(controller->y_vel, 4, 230, "Y");
    RowLabel(" Friction", 78);
    ImGui::Text("%f", static_cast<double>(controller->fric));
    RemoveButton<Controller>("Controller Remove Button", objectId);
}

void Editor::ShowRigidBodyPanel(std::uint32_t objectId)
{
    RigidBody* body = ComponentStore::Instance().GetComponent<RigidBody>(objectId);
    if (body == nullptr || !ImGui::CollapsingHeader("Rigidbody"))
        return;
    RowLabel(" Size", 75);
    ImGui::PushItemWidth(65);
    float halfWidth = body->right;
    if (DragField(6, "X", halfWidth)) {
        body->left = -halfWidth;
        body->right = halfWidth;
    }
    ImGui::SameLine();
    float halfHeight = body->top;
    if (DragField(7, "Y", halfHeight)) {
        body->top = halfHeight;
        body->bottom = -halfHeight;
    }
    RowLabel(" Weight", 75);
    ImGui::PushID(8);
    ImGui::DragFloat("##Weight", &body->Weight, 0.01f, 0.0f, 1.0f, "%.3f");
    ImGui::PopID();
    ImGui::PopItemWidth();

    static constexpr NamedValue BodyTypes[] = {{"Dynamic", 1}, {"Kinematic", 2}, {"Static", 0}};
    static constexpr NamedValue ColliderTypes[] = {{"Box", 0}, {"Line", 1}};
    RowLabel(" Body Type", 150);
    ChoiceField("rbBodyType", BodyTypes, body->BodyType);
    RowLabel(" Collider Type", 150);
    ChoiceField("rbType", ColliderTypes, body->ColliderType);
    RowLabel(" Ghost", 75);
    ImGui::PushID(9);
    ImGui::Checkbox("##Ghost", &body->Ghost);
    ImGui::PopID();
    RemoveButton<RigidBody>("RB Remove Button", objectId);
}

void Editor::ShowParallaxPanel(std::uint32_t objectId)
{
    Parallax* parallax = ComponentStore::Instance().GetComponent<Parallax>(objectId);
    if (parallax == nullptr || !ImGui::CollapsingHeader("Parallax"))
        return;
    RowLabel(" Position", 70);
    ImGui::PushItemWidth(35);
    DragField(10, "X", parallax->PosX);
    ImGui::SameLine();
    DragField(11, "Y", parallax->PosY);
    ImGui::PopItemWidth();
    static constexpr NamedValue Levels[] = {{"Foreground", 1}, {"Main", 2}, {"Background", 3}, {"Far Background", 4}};
    RowLabel(" Level", 70);
    ImGui::PushItemWidth(70);
    ChoiceField("Parallax", Levels, parallax->Level);
    ImGui::PopItemWidth();
    RemoveButton<Parallax>("Parallax Remove Button", objectId);
}

void Editor::ShowAnimationPanel(std::uint32_t objectId)
{
    Animation* animation = ComponentStore::Instance().GetComponent<Animation>(objectId);
    if (animation == nullptr || !ImGui::CollapsingHeader("Animation"))
        return;
    RowLabel(" Animation Handle", 125);
    ImGui::PushItemWidth(80);
    NameListField("Animations", LevelManager::Instance().animationHandles, animation->Handle);
    ImGui::PopItemWidth();
    RemoveButton<Animation>("Animation Remove Button", objectId);
}

void Editor::ShowCheckpointPanel(std::uint32_t objectId)
{
    Checkpoint* checkpoint = ComponentStore::Instance().GetComponent<Checkpoint>(objectId);
    if (checkpoint == nullptr || !ImGui::CollapsingHeader("Checkpoint"))
        return;
    const ViewMapping view = ViewMapping::Current();
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    drawList->PushClipRectFullScreen();
    drawList->AddCircleFilled(ImVec2(view.ScreenX(checkpoint->x), view.ScreenY(checkpoint->y)), 6.0f, IM_COL32(0, 255, 0, 255), 12);
    drawList->PopClipRect();
    RowLabel(" Position", 70);
    ImGui::PushItemWidth(35);
    DragField("checkpointx", "X", checkpoint->x);
    ImGui::SameLine();
    DragField("checkpointy", "Y", checkpoint->y);
    ImGui::PopItemWidth();
}

void Editor::ShowRangePanel(std::uint32_t objectId)
{
    Range* range = ComponentStore::Instance().GetComponent<Range>(objectId);
    if (range == nullptr || !ImGui::CollapsingHeader("Enemy Logic"))
        return;
    ImGui::PushItemWidth(35);
    RowLabel(" Range", 70);
    DragField("range", "##value", range->range);
    RowLabel(" Speed", 70);
    DragField("speed", "##value", range->speed);
    ImGui::PopItemWidth();
}

}  // namespace Engine

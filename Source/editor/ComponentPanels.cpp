// The inspector's panels, one per component type: a collapsing header, rows of a label and
// the value widgets, and (for most) a "Remove" button that takes the component off at once.
// The rows are those of each component's table in core/ComponentFields.h, in its panel order.
#include "editor/Editor.h"

#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"

#include <imgui.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace Engine {

namespace {

constexpr float Pi = 3.14159f;
constexpr float PixelsPerCharacter = 7.0f;

// A selectable showing the current value's name (empty when it has none) that opens a popup
// of every named value; choosing one stores it.
void ChoiceField(const char* popup, std::span<const NamedValue> choices, std::int32_t& value)
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

// A selectable showing the current name that opens a popup listing `names`; whether a name
// was chosen this frame.
bool NameListField(const char* popup, const std::vector<std::string>& names, std::string& value)
{
    bool chosen = false;
    ImGui::PushID(popup);
    if (ImGui::Selectable(value.c_str()))
        ImGui::OpenPopup(popup);
    if (ImGui::BeginPopup(popup)) {
        for (const std::string& name : names) {
            if (ImGui::MenuItem(name.c_str())) {
                value = name;
                chosen = true;
                ImGui::CloseCurrentPopup();
            }
        }
        ImGui::EndPopup();
    }
    ImGui::PopID();
    return chosen;
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

// What the widgets of a panel need besides the component.
struct PanelContext {
    std::uint32_t objectId;
    const std::vector<std::string>& imageNames;
};

// Pushes the widget's identifier, a number or a name, when it has one.
class WidgetId {
public:
    explicit WidgetId(const InspectorField& shown) : pushed(shown.number >= 0 || shown.name != nullptr)
    {
        if (shown.number >= 0)
            ImGui::PushID(shown.number);
        else if (shown.name != nullptr)
            ImGui::PushID(shown.name);
    }
    ~WidgetId()
    {
        if (pushed)
            ImGui::PopID();
    }
    WidgetId(const WidgetId&) = delete;
    WidgetId& operator=(const WidgetId&) = delete;

private:
    bool pushed;
};

bool Drag(const InspectorField& shown, float& value)
{
    const WidgetId id(shown);
    return ImGui::DragFloat(shown.label, &value, 1.0f, 0.0f, 0.0f, "%.3f");
}

// The special cases: a transform's scale moves the body's edges with it, on both sides...
void ScaleWithBody(const InspectorField& shown, float& scale, const PanelContext& panel)
{
    float edited = scale;
    if (!Drag(shown, edited))
        return;
    const float change = edited - scale;
    scale = edited;
    if (RigidBody* body = ComponentStore::Instance().GetComponent<RigidBody>(panel.objectId)) {
        if (shown.widget == InspectorWidget::ScaleX) {
            body->left -= change;
            body->right += change;
        } else {
            body->top += change;
            body->bottom -= change;
        }
    }
}

// ...the rotation shows in degrees...
void RotationInDegrees(const InspectorField& shown, float& radians)
{
    float degrees = radians * -180.0f / Pi;
    if (Drag(shown, degrees))
        radians = degrees * Pi / -180.0f;
}

// ...and one value sets both edges of the body's box, about its centre.
void HalfSize(const InspectorField& shown, float& edge, const PanelContext& panel)
{
    float half = edge;
    if (!Drag(shown, half))
        return;
    RigidBody* body = ComponentStore::Instance().GetComponent<RigidBody>(panel.objectId);
    if (shown.widget == InspectorWidget::HalfWidth) {
        body->left = -half;
        body->right = half;
    } else {
        body->top = half;
        body->bottom = -half;
    }
}

void Widget(const InspectorField& shown, float& value, const PanelContext& panel)
{
    switch (shown.widget) {
    case InspectorWidget::Drag:
        Drag(shown, value);
        break;
    case InspectorWidget::DragUnit: {
        const WidgetId id(shown);
        ImGui::DragFloat(shown.label, &value, 0.01f, 0.0f, 1.0f, "%.3f");
        break;
    }
    case InspectorWidget::ReadOnlyValue:
        ReadOnlyValue(value, shown.digits, shown.edge, shown.label);
        break;
    case InspectorWidget::ReadOnlyText:
        ImGui::Text("%f", static_cast<double>(value));
        break;
    case InspectorWidget::ScaleX:
    case InspectorWidget::ScaleY:
        ScaleWithBody(shown, value, panel);
        break;
    case InspectorWidget::Degrees:
        RotationInDegrees(shown, value);
        break;
    case InspectorWidget::HalfWidth:
    case InspectorWidget::HalfHeight:
        HalfSize(shown, value, panel);
        break;
    default:
        break;
    }
}

void Widget(const InspectorField& shown, std::int32_t& value, const PanelContext&)
{
    if (shown.widget == InspectorWidget::Choice)
        ChoiceField(shown.name, shown.choices, value);
}

void Widget(const InspectorField& shown, bool& value, const PanelContext&)
{
    if (shown.widget == InspectorWidget::Check) {
        const WidgetId id(shown);
        ImGui::Checkbox(shown.label, &value);
    }
}

void Widget(const InspectorField& shown, std::string& value, const PanelContext& panel)
{
    if (shown.widget == InspectorWidget::ImageName)
        NameListField(shown.name, panel.imageNames, value);
    else if (shown.widget == InspectorWidget::AnimationName &&
             NameListField(shown.name, LevelManager::Instance().animationHandles, value)) {
        // A chosen animation plays from its first cell once the world runs again.
        if (auto* animation = ComponentStore::Instance().GetComponent<Animation>(panel.objectId))
            animation->restart = true;
    }
}

void Widget(const InspectorField& shown, float (&color)[4], const PanelContext&)
{
    if (shown.widget == InspectorWidget::ColorEdit)
        ImGui::ColorEdit4(shown.label, color, ImGuiColorEditFlags_AlphaBar | ImGuiColorEditFlags_AlphaPreview);
}

// Draws the shown fields of the component in their panel order: a field with a row label
// starts a row at its item width, any other goes on the same line as the one before.
template <typename T>
void ShowRows(T& component, const PanelContext& panel)
{
    bool widthPushed = false;
    for (int place = 0;; ++place) {
        bool found = false;
        ForEachField<T>([&](const auto& field) {
            const InspectorField& shown = field.inspector;
            if (shown.place != place)
                return;
            found = true;
            if (shown.row != nullptr) {
                if (widthPushed)
                    ImGui::PopItemWidth();
                ImGui::Text("%s", shown.row);
                if (shown.rowX > 0.0f)
                    ImGui::SameLine(shown.rowX);
                widthPushed = shown.width > 0.0f;
                if (widthPushed)
                    ImGui::PushItemWidth(shown.width);
            } else if (shown.widget != InspectorWidget::ReadOnlyValue) {
                ImGui::SameLine();  // a read-only value places itself
            }
            if constexpr (std::decay_t<decltype(field)>::kind != FieldKind::Timer)
                Widget(shown, field.Of(component), panel);
        });
        if (!found)
            break;
    }
    if (widthPushed)
        ImGui::PopItemWidth();
}

// The object's T when it has one and its panel is open.
template <typename T>
T* OpenPanel(std::uint32_t objectId)
{
    T* component = ComponentStore::Instance().GetComponent<T>(objectId);
    if (component == nullptr || !ImGui::CollapsingHeader(ComponentFields<T>::title))
        return nullptr;
    return component;
}

// The panel's rows, then its "Remove" button when it has one.
template <typename T>
void ShowPanel(std::uint32_t objectId, const std::vector<std::string>& imageNames)
{
    T* component = OpenPanel<T>(objectId);
    if (component == nullptr)
        return;
    ShowRows(*component, PanelContext{objectId, imageNames});
    if constexpr (ComponentFields<T>::removeButton != nullptr) {
        ImGui::PushID(ComponentFields<T>::removeButton);
        if (ImGui::Button("Remove"))
            ComponentStore::Instance().RemoveComponent<T>(objectId);
        ImGui::PopID();
    }
}

}  // namespace

void Editor::ShowTransformPanel(std::uint32_t objectId) { ShowPanel<Transform>(objectId, imageNames); }

void Editor::ShowSpritePanel(std::uint32_t objectId) { ShowPanel<Sprite>(objectId, imageNames); }

void Editor::ShowControllerPanel(std::uint32_t objectId) { ShowPanel<Controller>(objectId, imageNames); }

void Editor::ShowRigidBodyPanel(std::uint32_t objectId) { ShowPanel<RigidBody>(objectId, imageNames); }

void Editor::ShowParallaxPanel(std::uint32_t objectId) { ShowPanel<Parallax>(objectId, imageNames); }

void Editor::ShowAnimationPanel(std::uint32_t objectId) { ShowPanel<Animation>(objectId, imageNames); }

// Before its rows the panel marks the checkpoint in the game view, as the object outline is.
void Editor::ShowCheckpointPanel(std::uint32_t objectId)
{
    Checkpoint* checkpoint = OpenPanel<Checkpoint>(objectId);
    if (checkpoint == nullptr)
        return;
    const ViewMapping view = ViewMapping::Current();
    ImDrawList* drawList = ImGui::GetWindowDrawList();
    drawList->PushClipRectFullScreen();
    drawList->AddCircleFilled(ImVec2(view.ScreenX(checkpoint->x), view.ScreenY(checkpoint->y)), 6.0f, IM_COL32(0, 255, 0, 255), 12);
    drawList->PopClipRect();
    ShowRows(*checkpoint, PanelContext{objectId, imageNames});
}

void Editor::ShowRangePanel(std::uint32_t objectId) { ShowPanel<Range>(objectId, imageNames); }

}  // namespace Engine

// The inspector's "Events" panel: each event of the object's EventSet with its handler
// scripts; a right click removes a handler or a whole event, and two popups add handlers
// and events. Enter in a popup is read from the held keys, as the text field keeps it.
#include "editor/Editor.h"

#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/EventSet.h"
#include "core/SystemManager.h"
#include "platform/VirtualKeys.h"
#include "scripting/ScriptManager.h"

#include <imgui.h>

#include <string>

namespace Engine {

void Editor::ShowEventsPanel(std::uint32_t objectId)
{
    EventSet* set = ComponentStore::Instance().GetComponent<EventSet>(objectId);
    if (set == nullptr || !ImGui::CollapsingHeader(ComponentFields<EventSet>::title))
        return;

    for (auto event = set->events.begin(); event != set->events.end();) {
        ImGui::SetCursorPosX(20);
        const bool open = ImGui::CollapsingHeader(event->first.c_str());
        if (open) {
            std::vector<std::string>& handlers = event->second;
            for (std::size_t index = 0; index < handlers.size();) {
                ImGui::SetCursorPosX(40);
                ImGui::PushID(static_cast<int>(index));
                ImGui::Selectable(handlers[index].c_str());
                ImGui::PopID();
                if (ImGui::IsItemClicked(ImGuiMouseButton_Right))
                    handlers.erase(handlers.begin() + static_cast<std::ptrdiff_t>(index));
                else
                    ++index;
            }
            ImGui::PushID("Add Script Button");
            if (ImGui::Button("Add New Script"))
                inspector.addingScript = true;
            ImGui::PopID();
        }
        // The block's last item is its header while collapsed, its button while open.
        const bool removeEvent = ImGui::IsItemClicked(ImGuiMouseButton_Right);
        if (open && inspector.addingScript) {
            ImGui::OpenPopup("Adding Script");
            if (ImGui::BeginPopup("Adding Script")) {
                ImGui::InputText("Script Name", inspector.scriptBuffer.data(), inspector.scriptBuffer.size());
                if (keyHeld(Platform::VirtualKey::Return)) {
                    inspector.addingScript = false;
                    ImGui::CloseCurrentPopup();
                    GetSystem<EventManager>()->AddEvent(objectId, event->first, inspector.scriptBuffer.data());
                }
                ImGui::EndPopup();
            }
        }
        if (removeEvent)
            event = set->events.erase(event);
        else
            ++event;
    }

    ImGui::PushID("Add Event Button");
    if (ImGui::Button("Add New Event"))
        inspector.addingEvent = true;
    ImGui::PopID();
    if (inspector.addingEvent) {
        ImGui::OpenPopup("Adding Event");
        if (ImGui::BeginPopup("Adding Event")) {
            ImGui::InputText("Event Name", inspector.eventBuffer.data(), inspector.eventBuffer.size());
            ImGui::InputText("Script Name", inspector.scriptBuffer.data(), inspector.scriptBuffer.size());
            if (keyHeld(Platform::VirtualKey::Return)) {
                ImGui::CloseCurrentPopup();
                inspector.addingEvent = false;
                const std::string eventName = inspector.eventBuffer.data();
                const std::string scriptName = inspector.scriptBuffer.data();
                if (eventName == "OnUpdate")
                    GetSystem<ScriptManager>()->RegisterEveryFrame(scriptName);
                GetSystem<EventManager>()->AddEvent(objectId, eventName, scriptName);
            }
            ImGui::EndPopup();
        }
    }
    ImGui::PushID("Events Remove Button");
    if (ImGui::Button("Remove"))
        ComponentStore::Instance().RemoveComponent<EventSet>(objectId);
    ImGui::PopID();
}

}  // namespace Engine

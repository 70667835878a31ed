#include "editor/EditorLayout.h"

#include <imgui.h>

#include <cstring>

namespace Engine {

namespace {

struct WindowPlace {
    const char* name;
    ImVec2 position;
    ImVec2 size;
};

// The editor windows cannot be moved or resized by hand, so this is the layout a fresh
// install shows: object list and inspector down the left, script editor and log down the
// right, archetype cards along the bottom, and the see-through game view in the middle,
// where the level shows between them. The menu bar takes the top 20 pixels.
const WindowPlace FirstPlaces[] = {
    {"Object List", {0, 20}, {250, 300}},
    {"Inspector", {0, 320}, {250, 400}},
    {"Archetypes", {250, 620}, {530, 100}},
    {"Script Editor", {780, 20}, {500, 400}},
    {"Log", {780, 420}, {500, 300}},
    {"Game", {250, 20}, {530, 600}},
};

}  // namespace

void PlaceEditorWindow(const char* windowName)
{
    for (const WindowPlace& place : FirstPlaces) {
        if (std::strcmp(place.name, windowName) == 0) {
            ImGui::SetNextWindowPos(place.position, ImGuiCond_FirstUseEver);
            ImGui::SetNextWindowSize(place.size, ImGuiCond_FirstUseEver);
            return;
        }
    }
}

}  // namespace Engine

// The "Log" window: the newest log lines, each coloured by its level tag, following the end
// of the log whenever the logging sink adds a line.
#include "editor/Editor.h"

#include "editor/EditorLayout.h"

#include <imgui.h>

namespace Engine {

std::array<float, 4> Editor::LogLineColor(const std::string& line) const
{
    // Key order, so a line that mentions "[debug]" anywhere is a debug line.
    for (const auto& [tag, colour] : logColors) {
        if (line.find(tag) != std::string::npos)
            return colour;
    }
    return {1.0f, 1.0f, 1.0f, 1.0f};
}

void Editor::ShowLogWindow()
{
    PlaceEditorWindow("Log");
    if (!ImGui::Begin("Log", nullptr, windowFlags)) {
        ImGui::End();
        return;
    }
    if (logLines.size() > MaxLogLines)
        logLines.erase(logLines.begin(), logLines.end() - static_cast<std::ptrdiff_t>(MaxLogLines));

    ImGui::BeginChild("LogText", ImVec2(-1, -1), true);
    ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, ImVec2(4, 1));
    for (const std::string& line : logLines) {
        const std::array<float, 4> colour = LogLineColor(line);
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(colour[0], colour[1], colour[2], colour[3]));
        ImGui::TextUnformatted(line.data(), line.data() + line.size());
        ImGui::PopStyleColor();
    }
    if (scrollLogToBottom)
        ImGui::SetScrollHereY(0.5f);
    scrollLogToBottom = false;
    ImGui::PopStyleVar();
    ImGui::EndChild();
    ImGui::End();
}

}  // namespace Engine

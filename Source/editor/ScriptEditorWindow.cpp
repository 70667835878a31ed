// The "Script Editor" window: the code editor widget over the open script with a status line
// under it, the list of scripts beside it, and File, Edit and View menus. Saving replaces the
// script's file and reloads every script into the running game.
#include "editor/Editor.h"

#include "core/Log.h"
#include "core/SystemManager.h"
#include "data/SafeFileWriter.h"
#include "editor/EditorLayout.h"
#include "scripting/ScriptFiles.h"
#include "scripting/ScriptManager.h"

#include <imgui.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace Engine {

namespace {

const std::filesystem::path ScriptFolder = ScriptFiles::Folder;

void ShowFileMenu(Editor& editor)
{
    if (!ImGui::BeginMenu("File"))
        return;
    ImGui::MenuItem("New", "Ctrl+N");
    ImGui::Separator();
    if (ImGui::MenuItem("Save", "Ctrl+S"))
        editor.SaveScript();
    ImGui::EndMenu();
}

void ShowEditMenu(TextEditor& text)
{
    if (!ImGui::BeginMenu("Edit"))
        return;
    if (ImGui::MenuItem("Undo", "Ctrl+Z", false, text.CanUndo()))
        text.Undo();
    if (ImGui::MenuItem("Redo", "Ctrl+Y", false, text.CanRedo()))
        text.Redo();
    ImGui::Separator();
    if (ImGui::MenuItem("Copy", "Ctrl+C", false, text.HasSelection()))
        text.Copy();
    if (ImGui::MenuItem("Cut", "Ctrl+X", false, text.HasSelection()))
        text.Cut();
    if (ImGui::MenuItem("Delete", "Del", false, text.HasSelection()))
        text.Delete();
    // An empty clipboard still offers Paste; only a clipboard that cannot be read does not.
    const ImGuiIO& io = ImGui::GetIO();
    const bool canPaste = io.GetClipboardTextFn == nullptr || ImGui::GetClipboardText() != nullptr;
    if (ImGui::MenuItem("Paste", "Ctrl+V", false, canPaste))
        text.Paste();
    ImGui::Separator();
    if (ImGui::MenuItem("Select all", "Ctrl+A"))
        text.SetSelection(TextEditor::Coordinates(), TextEditor::Coordinates(text.GetLineCount(), 0));
    ImGui::EndMenu();
}

void ShowViewMenu(TextEditor& text)
{
    if (!ImGui::BeginMenu("View"))
        return;
    if (ImGui::MenuItem("Dark palette"))
        text.SetPalette(TextEditor::GetDarkPalette());
    if (ImGui::MenuItem("Light palette"))
        text.SetPalette(TextEditor::GetLightPalette());
    ImGui::EndMenu();
}

}  // namespace

void Editor::ShowScriptEditorWindow()
{
    PlaceEditorWindow("Script Editor");
    if (!ImGui::Begin("Script Editor", nullptr, windowFlags | ImGuiWindowFlags_MenuBar)) {
        ImGui::End();
        return;
    }
    scriptEditorFocused = ImGui::IsWindowFocused(ImGuiFocusedFlags_RootAndChildWindows);
    if (saveScriptRequested) {
        SaveScript();
        saveScriptRequested = false;
    }
    if (ImGui::BeginMenuBar()) {
        ShowFileMenu(*this);
        ShowEditMenu(textEditor);
        ShowViewMenu(textEditor);
        ImGui::EndMenuBar();
    }

    const float lineHeight = ImGui::GetTextLineHeightWithSpacing();
    ImGui::BeginChild("TextEditor", ImVec2(ImGui::GetContentRegionAvail().x * 0.6f, 0), false);
    const ImVec2 area = ImGui::GetContentRegionAvail();
    textEditor.Render("##ScriptText", ImVec2(area.x, area.y - lineHeight));
    ImGui::BeginChild("EditorInfo", ImVec2(0, lineHeight), true);
    const std::string status = ScriptStatusLine();
    ImGui::TextUnformatted(status.c_str());
    ImGui::EndChild();
    ImGui::EndChild();

    ImGui::SameLine();
    ImGui::BeginChild("FileChild", ImVec2(0, 0), false);
    for (std::size_t index = 0; index < scriptNames.size(); ++index) {
        const bool selected = static_cast<std::int32_t>(index) == openedScriptIndex;
        if (!ImGui::Selectable(scriptNames[index].c_str(), selected, ImGuiSelectableFlags_AllowDoubleClick)
            || !ImGui::IsMouseDoubleClicked(ImGuiMouseButton_Left))
            continue;
        OpenScript(index);
    }
    ImGui::EndChild();
    ImGui::End();
}

void Editor::OpenScript(std::size_t index)
{
    // A script that cannot be read must not take over the open one's name: a save would then
    // write the open text into the other file.
    const std::filesystem::path path = ScriptFolder / scriptNames[index];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError("Could not open the script {}: {} stays open", path.generic_string(), currentScript);
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    openedScriptIndex = static_cast<std::int32_t>(index);
    currentScript = scriptNames[index];
    textEditor.SetText(text.str());
    savedUndoIndex = textEditor.GetUndoIndex();
}

std::string Editor::ScriptStatusLine() const
{
    const TextEditor::Coordinates cursor = textEditor.SanitizeCoordinates(textEditor.GetCursorPosition());
    return fmt::format("{:>3}Ln {} | Col {} | {} | {}{}", "", cursor.mLine + 1, cursor.mColumn,
                       textEditor.GetLanguageDefinition().mName, currentScript,
                       textEditor.GetUndoIndex() != savedUndoIndex ? "*" : "");
}

void Editor::SaveScript()
{
    const std::filesystem::path path = ScriptFolder / currentScript;
    // The file is replaced whole or not at all, and the text stays in the widget either way.
    if (SafeFileWriter::Write(path, textEditor.GetText()) != SafeFileWriter::Result::Written)
        LogError("Could not save the script {}: the text stays in the script editor", path.generic_string());
    else
        savedUndoIndex = textEditor.GetUndoIndex();
    GetSystem<ScriptManager>()->ReloadAll();
}

}  // namespace Engine

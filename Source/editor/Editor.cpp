#include "editor/Editor.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/LogSink.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "platform/HeldKeys.h"
#include "platform/VirtualKeys.h"
#include "platform/Window.h"
#include "scripting/ScriptFiles.h"

#include <imgui.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace Engine {

namespace {

namespace Key = Platform::VirtualKey;
constexpr float ArrowStep = 5.0f;

// File names in a folder, in name order; a missing folder lists nothing. The editor is made
// by the first log line, so nothing here may log.
std::vector<std::string> ListFolder(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
        names.push_back(entry->path().lexically_relative(folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every log line joins the log window's list; the first line makes the editor.
void KeepLogLine(std::string_view line)
{
    Editor& editor = Editor::Instance();
    // The log window shows only the newest lines; trimming here keeps a long run bounded.
    while (editor.logLines.size() >= Editor::MaxLogLines)
        editor.logLines.erase(editor.logLines.begin());
    editor.logLines.emplace_back(line);
    editor.scrollLogToBottom = true;
}

struct LogRoute {
    LogRoute() { log_sink::SetLineHandler(&KeepLogLine); }
} const logRoute;

}  // namespace

Editor& Editor::Instance()
{
    static Editor editor;
    return editor;
}

Editor::Editor() : keyHeld(Platform::KeyHeld)
{
    // The first log line usually makes the editor before the renderer has started the UI;
    // the style then waits for the first editor frame.
    StyleCurrentContext();
    windowFlags = EditorWindowFlags;
    imageNames = ListFolder("Resources/Images");
    logColors.emplace("[info]", std::array{1.0f, 1.0f, 1.0f, 1.0f});
    logColors.emplace("[error]", std::array{1.0f, 0.78f, 0.78f, 1.0f});
    logColors.emplace("[warning]", std::array{1.0f, 0.78f, 1.0f, 1.0f});
    logColors.emplace("[debug]", std::array{0.78f, 0.78f, 1.0f, 1.0f});
    scriptNames = ListFolder(ScriptFiles::Folder);
    textEditor.SetLanguageDefinition(TextEditor::LanguageDefinition::Lua());
}

void Editor::StyleCurrentContext()
{
    ImGuiContext* context = ImGui::GetCurrentContext();
    if (context == nullptr || context == styledContext)
        return;
    ApplyEditorStyle();
    styledContext = context;
}

void Editor::RunFrame()
{
    StyleCurrentContext();
    if (!isOpen) {
        isOpen = true;
        ShowViewAtZoom();
        // The world stands still from here on: what changes now is the designer's edit.
        LevelManager::Instance().PlayStopped();
    }
    BindKeys(true);
    ctrlHeld = keyHeld(Key::Control);
    DropRemovedFromSelection();
    HandleLevelRequests();
    ShowMainMenuBar();
    ShowObjectListWindow();
    ShowInspectorWindow();
    ShowArchetypesWindow();
    ShowLogWindow();
    ShowScriptEditorWindow();
    ShowGameWindow();
    // Play may go on from the next frame (the world runs before the editor learns that it
    // closed), so every frame's edits become part of the level at once.
    LevelManager::Instance().KeepEdits();
}

void Editor::BindKeys(bool active)
{
    if (active != keysBound) {
        InputManager& input = InputManager::Instance();
        const InputManager::EditorBindings editorBindings;
        auto withCtrl = [this](auto action) {
            return [this, action]() {
                if (keyHeld(Key::Control))
                    action();
            };
        };
        input.RegisterKeyPressedFunction('G', withCtrl([this] { snapToGrid = !snapToGrid; }));
        input.RegisterKeyPressedFunction('S', withCtrl([this] {
            if (scriptEditorFocused)
                saveScriptRequested = true;
            else
                saveLevelRequested = true;
        }));
        input.RegisterKeyPressedFunction('L', withCtrl([this] { switchLevelRequested = true; }));
        input.RegisterKeyPressedFunction('D', withCtrl([this] { showOutlines = !showOutlines; }));
        input.RegisterKeyPressedFunction(Key::Delete, [this] { RemoveSelection(); });
        input.RegisterKeyUpFunction(Key::Control, [this] { ctrlHeld = false; });
        input.RegisterKeyPressedFunction(Key::Right, [this] { MoveSelection(ArrowStep, 0.0f); });
        input.RegisterKeyPressedFunction(Key::Left, [this] { MoveSelection(-ArrowStep, 0.0f); });
        input.RegisterKeyPressedFunction(Key::Up, [this] { MoveSelection(0.0f, ArrowStep); });
        input.RegisterKeyPressedFunction(Key::Down, [this] { MoveSelection(0.0f, -ArrowStep); });
        // The script text holds the keyboard while it has focus; Ctrl+S (save the script) and
        // back-quote (close the editor) still reach the shortcuts and never the text. With
        // Shift the key types "~", which Lua needs, so only the bare key is taken.
        Window::ClaimKeysFromUi([this](std::uint8_t key, bool ctrl, bool shift) {
            return scriptEditorFocused && ((key == 'S' && ctrl) || (key == Key::BackQuote && !ctrl && !shift));
        });
    }
    keysBound = active;
}

void Editor::MoveSelection(float dx, float dy)
{
    for (std::uint32_t id : selection) {
        if (Transform* transform = ComponentStore::Instance().GetComponent<Transform>(id)) {
            transform->x_pos += dx;
            transform->y_pos += dy;
        }
    }
}

void Editor::RemoveSelection()
{
    for (std::uint32_t id : selection) {
        LevelManager::Instance().DropFromLevel(id);
        GameObjectTable::Instance().RemoveGameObject(id);
    }
    selection.clear();
    selectedObject = -1;
}

void Editor::DropRemovedFromSelection()
{
    const GameObjectTable& table = GameObjectTable::Instance();
    std::erase_if(selection, [&table](std::uint32_t id) { return table.Get(id) == nullptr; });
    std::erase_if(dragAnchors, [&table](const auto& entry) { return table.Get(entry.first) == nullptr; });
    std::erase_if(ghostBeforeDrag, [&table](const auto& entry) { return table.Get(entry.first) == nullptr; });
}

namespace {

// What the banner says after a level save, from what the level manager did.
std::string BannerFor(LevelManager::SaveOutcome outcome, const std::string& level)
{
    switch (outcome) {
    case LevelManager::SaveOutcome::Saved: return "Saved " + level;
    case LevelManager::SaveOutcome::NotListed: return "Not saved: the level is not in the level list";
    case LevelManager::SaveOutcome::LoadedInPart: return "Not saved: the level loaded only in part";
    case LevelManager::SaveOutcome::WriteFailed: return "Not saved: the level file could not be written";
    case LevelManager::SaveOutcome::None: break;
    }
    return "Not saved";
}

}  // namespace

void Editor::HandleLevelRequests()
{
    LevelManager& levels = LevelManager::Instance();
    if (saveLevelRequested) {
        levels.SaveLevel();
        bannerText = BannerFor(levels.LastSave(), levels.currentLevel);
        savingBannerTimer = 0.0f;
        saveLevelRequested = false;
    }
    if (switchLevelRequested) {
        levels.LoadLevel(levels.currentLevel == "Level 1" ? "Level 2" : "Level 1");
        // The load removed every object, so the ids held for the old level mean nothing now.
        selection.clear();
        dragAnchors.clear();
        ghostBeforeDrag.clear();
        gameView.dragging = false;
        placingObject.reset();
        switchLevelRequested = false;
    }
}

void Editor::ShowMainMenuBar()
{
    if (!ImGui::BeginMainMenuBar())
        return;
    // The items are labels only: the shortcuts and the script editor's own menus do the work.
    if (ImGui::BeginMenu("File")) {
        ImGui::Text("FPS: %f", static_cast<double>(FramesPerSecond));
        ImGui::Text("dt:  %f", static_cast<double>(FrameDeltaTime));
        ImGui::MenuItem("New", "Ctrl+N");
        ImGui::MenuItem("Open", "Ctrl+O");
        ImGui::Separator();
        ImGui::MenuItem("Save", "Ctrl+S", saveLevelRequested);
        ImGui::EndMenu();
    }
    if (ImGui::BeginMenu("Edit")) {
        ImGui::MenuItem("Undo", "Ctrl+Z");
        ImGui::MenuItem("Redo", "Ctrl+Y", false, false);
        ImGui::Separator();
        ImGui::MenuItem("Cut", "Ctrl+X");
        ImGui::MenuItem("Copy", "Ctrl+C");
        ImGui::MenuItem("Paste", "Ctrl+V");
        ImGui::EndMenu();
    }
    ImGui::EndMainMenuBar();
}

}  // namespace Engine

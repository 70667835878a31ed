// Engine::Editor: the in-game level editor, a singleton created by the first log line. It holds
// the selection, the request flags its shortcuts set, the log list that Engine::log_sink fills,
// and draws its windows once per frame while the game update runs it (RunFrame).
#pragma once

#include "editor/GameViewState.h"
#include "editor/InspectorState.h"
#include "widgets/text_editor/TextEditor.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Engine {

class Editor {
public:
    static Editor& Instance();
    virtual ~Editor() = default;

    // The log window shows this many of the newest lines; the list never holds more.
    static constexpr std::size_t MaxLogLines = 50;
    // Every editor window: no title bar, no resize, no move, no scrollbar, no collapse.
    static constexpr std::int32_t EditorWindowFlags = 47;
    // The game view's grid and snapping step, world units.
    static constexpr float GridStep = 25.0f;
    // Ids from here up are never outlined, dragged or travelled to.
    static constexpr std::uint32_t MaxEditableId = 25000;

    // One editor frame while the editor is open; the game update calls it after the world
    // would have run, in place of the camera's player follow.
    void RunFrame();
    // The game update calls this in every frame the editor is closed; the next RunFrame then
    // opens it again, with the camera showing the game view's zoom.
    void Close() { isOpen = false; }

    // Registers the editor's shortcuts on the input manager the first time `active` is true.
    void BindKeys(bool active);
    // Carries out a level save and then a level switch that a shortcut asked for.
    void HandleLevelRequests();
    void ShowMainMenuBar();

    void ShowObjectListWindow();
    void ShowArchetypesWindow();
    void ShowInspectorWindow();
    void ShowLogWindow();
    void ShowScriptEditorWindow();
    void ShowGameWindow();

    // The object's Transform box, in black, with its name above it when `withName`.
    void DrawObjectOutline(std::uint32_t objectId, bool withName);
    // The default new object of the object list's "Add Object" button.
    void AddObject();
    // One camera step of 15 units per axis towards the object; clears cameraMoving on arrival.
    void StepCameraToObject(std::uint32_t objectId);
    // One drag step: 0 cancelled (right click), 1 still dragging, 2 dropped (left release).
    int DragObject(std::uint32_t objectId);
    void ApplyEditorStyle();
    // Opens a script of the file list in the text widget; one that cannot be read is logged
    // and the open script stays, name and text.
    void OpenScript(std::size_t index);
    // Replaces the open script's file with the widget's text, then reloads every script.
    void SaveScript();
    // The script window's status line: cursor line and column, language, file, "*" once edited.
    std::string ScriptStatusLine() const;

    // The colour of a log line: that of the first tag, in key order, found in it.
    std::array<float, 4> LogLineColor(const std::string& line) const;

    bool keysBound = false;
    float zoom = 1.0f;
    std::int32_t selectedObject = -1;
    std::int32_t windowFlags = EditorWindowFlags;
    bool cameraMoving = false;
    std::vector<std::string> imageNames;
    bool scrollLogToBottom = true;
    std::map<std::string, std::array<float, 4>> logColors;
    std::vector<std::string> logLines;  // finished lines, end-of-line included
    std::vector<std::string> scriptNames;
    std::string currentScript = "untitled";
    TextEditor textEditor;
    std::int32_t openedScriptIndex = -1;  // the file list's row last opened
    int savedUndoIndex = 0;               // the text's undo step when last opened or saved
    bool scriptEditorFocused = false;
    bool saveScriptRequested = false;
    bool saveLevelRequested = false;
    bool switchLevelRequested = false;
    bool showOutlines = false;
    bool snapToGrid = false;
    bool ctrlHeld = false;
    float savingBannerTimer = -1000.0f;  // seconds; a level save sets it to 0, and it shows to -2
    float archetypeScroll = 0.0f;      // pixels, never below 0
    std::vector<std::uint32_t> selection;
    std::map<std::uint32_t, std::array<float, 3>> dragAnchors;
    std::map<std::uint32_t, bool> ghostBeforeDrag;
    bool addComponentOpen = false;

    // What the game view and the inspector keep from one frame to the next.
    GameViewState gameView;
    InspectorState inspector;
    // The object made from an archetype card and being placed with the mouse.
    std::optional<std::uint32_t> placingObject;
    // The save banner's text: what the last level save did.
    std::string bannerText = "Saving...";

    // Whether a key (a Windows virtual-key code) is held now, whoever has the keyboard.
    // Tests replace it to hold keys without a keyboard.
    std::function<bool(std::uint8_t)> keyHeld;

    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

private:
    Editor();

    bool isOpen = false;  // RunFrame ran in the last frame
    // The camera shows zoom x (1280, 720) around its eye, the size the wheel works from, so
    // that opening over the play view keeps one meaning of the zoom.
    void ShowViewAtZoom();

    // Applies the editor style to the UI context once, whenever a new context is current.
    void StyleCurrentContext();
    ImGuiContext* styledContext = nullptr;

    // The arrow and Delete shortcuts; objects without a Transform are not moved.
    void MoveSelection(float dx, float dy);
    void RemoveSelection();
    void DropRemovedFromSelection();

    // Game view steps, in the order ShowGameWindow runs them.
    void DrawAllOutlines();
    void ZoomAndPan();
    void HandlePicking();
    void DuplicateSelection();
    void ShowSavingBanner();

    // Archetype cards and the inspector's panels.
    std::uint32_t MakeObjectFromArchetype(std::size_t recordIndex, float mouseX, float mouseY);
    void ShowNameField(std::uint32_t objectId);
    void ShowTransformPanel(std::uint32_t objectId);
    void ShowSpritePanel(std::uint32_t objectId);
    void ShowControllerPanel(std::uint32_t objectId);
    void ShowRigidBodyPanel(std::uint32_t objectId);
    void ShowParallaxPanel(std::uint32_t objectId);
    void ShowAnimationPanel(std::uint32_t objectId);
    void ShowEventsPanel(std::uint32_t objectId);
    void ShowCheckpointPanel(std::uint32_t objectId);
    void ShowRangePanel(std::uint32_t objectId);
    void ShowAddComponentPopup(std::uint32_t objectId);
};

}  // namespace Engine

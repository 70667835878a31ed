// Pictures of the editor over "Level 1" with the player picked and a script open, for the
// README and for looking at the editor without a display. scripts/screenshots runs this
// test with VANTREL_SCREENSHOTS set; otherwise the pictures go to the test's home.
#include "EditorOnScreen.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "graphics/Camera.h"

#include <cstdlib>
#include <filesystem>

namespace EditorTest {

TEST_F(EditorOnScreen, ScreenshotsOfTheEditorOverLevelOne)
{
    const char* folderSetting = std::getenv("VANTREL_SCREENSHOTS");
    const std::filesystem::path folder = folderSetting != nullptr ? std::filesystem::path(folderSetting)
                                                                  : TestSupport::TemporaryHome() / "screenshots";
    std::filesystem::create_directories(folder);

    Open(1280, 720);
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadArchetypes();
    levels.LoadLevel("Level 1");
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    ASSERT_NE(player, Engine::InvalidObjectId);
    const auto* transform = Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(player);
    ASSERT_NE(transform, nullptr);

    // The camera on the player, the player picked, "Jump.lua" open in the script editor.
    Engine::Camera* camera = Engine::Camera::Instance();
    camera->eye[0] = camera->position[0] = transform->x_pos;
    camera->eye[1] = camera->position[1] = transform->y_pos;
    Engine::Editor& editor = Engine::Editor::Instance();
    editor.selectedObject = static_cast<std::int32_t>(player);
    editor.selection = {player};
    editor.currentScript = "Jump.lua";
    editor.textEditor.SetText(TestSupport::ReadFile("Resources/Scripts/Jump.lua"));
    const auto& names = editor.scriptNames;
    editor.openedScriptIndex = static_cast<std::int32_t>(std::find(names.begin(), names.end(), "Jump.lua") - names.begin());

    for (int frame = 0; frame < 10; ++frame)
        Frame();
    WritePng(folder / "editor-level1.png");

    // The same with every outline and the snapping grid shown.
    editor.showOutlines = true;
    editor.snapToGrid = true;
    for (int frame = 0; frame < 2; ++frame)
        Frame();
    WritePng(folder / "editor-level1-outlines.png");

    for (const char* name : {"editor-level1.png", "editor-level1-outlines.png"})
        EXPECT_GT(std::filesystem::file_size(folder / name), 10000u) << name;
}

}  // namespace EditorTest

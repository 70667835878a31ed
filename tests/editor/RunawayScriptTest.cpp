#include "EditorFixture.h"

#include "TestSupport.h"
#include "core/Game.h"
#include "core/GameObjectTable.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "scripting/ScriptManager.h"

#include <imgui.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>

namespace EditorTest {

namespace {

std::size_t LiveObjects()
{
    const auto& slots = Engine::GameObjectTable::Instance().slots;
    return static_cast<std::size_t>(std::count_if(slots.begin(), slots.end(), [](const auto& slot) { return slot != nullptr; }));
}

std::size_t ErrorsMentioning(const std::string& text)
{
    const auto& lines = Engine::Editor::Instance().logLines;
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find("[error]") != std::string::npos && line.find(text) != std::string::npos;
    }));
}

class RunawayScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::UseScratchGameFolder(std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources" / "Scripts");
        game = std::make_unique<Game>(Engine::FrameClock{[this] { return now; }, [](std::int64_t) {}});
        ImGui::GetIO().IniFilename = nullptr;
    }

    void TearDown() override { game.reset(); }

    // One frame of the game inside its UI frame, as the frame loop runs it.
    void Frame()
    {
        now += 16'666'666;
        game->graphics.NewUiFrame();
        game->Update();
        game->graphics.RenderUi();
    }

    std::int64_t now = 0;
    std::unique_ptr<Game> game;
};

}  // namespace

TEST_F(RunawayScript, AnEndlessLoopSavedFromTheEditorIsStoppedAndTheLevelSavesWhole)
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel("Level 1");
    const std::size_t objects = LiveObjects();
    ASSERT_GT(objects, 0u);

    Engine::Editor& editor = Engine::Editor::Instance();
    game->editorActive = 1;
    Frame();
    // The renderer made the UI after the editor: its first frame styled the UI.
    EXPECT_EQ(ImGui::GetStyle().WindowPadding.x, 0.0f);
    EXPECT_FLOAT_EQ(ImGui::GetStyle().Colors[ImGuiCol_ModalWindowDimBg].w, 0.73f);
    editor.currentScript = "Loop.lua";
    editor.textEditor.SetText("function main()\n    while true do end\nend\n");
    editor.saveScriptRequested = true;
    Frame();
    ASSERT_EQ(TestSupport::ReadFile("Resources/Scripts/Loop.lua"), "function main()\n    while true do end\nend\n");

    // Back in the game the script runs every frame until the budget stops it with a logged
    // error, once: it leaves the every-frame list, and the rest of the world keeps running.
    auto* scripts = Engine::GetSystem<Engine::ScriptManager>();
    scripts->RegisterEveryFrame("Loop");
    game->editorActive = 0;
    Frame();  // queues it for the next frame
    EXPECT_EQ(ErrorsMentioning("Loop"), 0u);
    Frame();
    EXPECT_EQ(ErrorsMentioning("Loop"), 1u);
    EXPECT_EQ(ErrorsMentioning("budget"), 1u);
    EXPECT_EQ(std::count(scripts->everyFrame.begin(), scripts->everyFrame.end(), "Loop"), 0);
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        // Each frame ran every queued script and queued the every-frame list again first.
        ASSERT_GE(scripts->runList.size(), scripts->everyFrame.size());
        EXPECT_TRUE(std::equal(scripts->everyFrame.begin(), scripts->everyFrame.end(), scripts->runList.begin()));
    }
    EXPECT_EQ(ErrorsMentioning("Loop"), 1u);
    EXPECT_EQ(levels.currentLevel, "Level 1");
    EXPECT_GE(LiveObjects(), objects);  // enemies may have fired meanwhile
    EXPECT_NE(Engine::GameObjectTable::Instance().FindGameObject("Player"), Engine::InvalidObjectId);

    game->editorActive = 1;
    editor.saveLevelRequested = true;
    Frame();
    const auto saved = nlohmann::json::parse(TestSupport::ReadFile("Resources/Levels/Level1.json"));
    EXPECT_EQ(saved.size(), objects) << "the level's own objects, none that play made";
}

}  // namespace EditorTest

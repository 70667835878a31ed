// Saving "Level 1" from the editor in the middle of play, as a level designer does: the real
// game on copies of its levels, the player run and jumped through the game's keys, the editor
// opened by back-quote and Ctrl+S pressed. The file keeps the level: no heat-map marks or other
// objects that play made, the player's picture and place as the level has them; an edit made in
// the editor is saved, also after play has gone on.
#include "GameDriver.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "editor/ViewMapping.h"
#include "platform/UiLayer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <memory>
#include <string>

namespace {

using EndToEnd::GameDriver;
using Json = nlohmann::json;

constexpr const char* LevelFile = "Resources/Levels/Level1.json";

std::uint32_t Id(const char* name) { return Engine::GameObjectTable::Instance().FindGameObject(name); }

std::size_t Count(const std::string& name)
{
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    std::size_t count = 0;
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id)
        if (const GameObject* object = table.Get(id); object != nullptr && object->name == name)
            ++count;
    return count;
}

// The entries of a level file by object name (the keys follow the names when saved).
std::map<std::string, Json> Entries(const Json& document)
{
    std::map<std::string, Json> entries;
    for (const auto& [key, entry] : document.items())
        entries.emplace(entry.at("Handle").get<std::string>(), entry);
    return entries;
}

class EditorSaveOverPlay : public testing::Test {
protected:
    void SetUp() override
    {
        TestSupport::UseScratchGameFolder();
        original = Json::parse(TestSupport::ReadFile(LevelFile));
        driver = std::make_unique<GameDriver>();
        driver->Frames(2);
        ASSERT_TRUE(driver->FramesUntil([] { return Engine::LevelManager::Instance().currentLevel == "Main Menu"; }, 400));
        for (int i = 0; i < 3 && Engine::LevelManager::Instance().currentLevel != "Level 1"; ++i) {
            driver->Tap(SDLK_RETURN);
            driver->Frames(3);
        }
        ASSERT_EQ(Engine::LevelManager::Instance().currentLevel, "Level 1");
        driver->game().debugEnabled = 1;
    }

    void TearDown() override { driver.reset(); }

    // A run to the right with a jump in it.
    void Play()
    {
        driver->Down(SDLK_d);
        driver->Frames(40);
        driver->Tap(SDLK_SPACE);
        driver->Frames(20);
        driver->Up(SDLK_d);
        driver->Frames(5);
    }

    void ToggleEditor()
    {
        driver->Tap(SDLK_BACKQUOTE);
        driver->Frames(1);
    }

    void PressCtrlS()
    {
        SDL_SetModState(KMOD_LCTRL);
        driver->Down(SDLK_LCTRL);
        driver->Down(SDLK_s);
        driver->Frames(1);
        driver->Up(SDLK_s);
        driver->Up(SDLK_LCTRL);
        SDL_SetModState(KMOD_NONE);
        driver->Frames(1);
    }

    // A click on the middle of an object in the game view, through the window's mouse events.
    void ClickOn(std::uint32_t id)
    {
        const auto* transform = Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id);
        ASSERT_NE(transform, nullptr);
        const Engine::ViewMapping view = Engine::ViewMapping::Current();
        const Platform::Letterbox box = Platform::UiLayer::Active()->CurrentLetterbox();
        driver->MoveMouse(box.left + static_cast<int>(view.ScreenX(transform->x_pos) * box.scaleX),
                          box.top + static_cast<int>(view.ScreenY(transform->y_pos) * box.scaleY));
        driver->Frames(1);
        driver->MouseButton(true, true);
        driver->Frames(1);
        driver->MouseButton(true, false);
        // The press made the window the UI's active item, which holds the keyboard until the
        // frame after the release.
        driver->Frames(2);
    }

    Json original;
    std::unique_ptr<GameDriver> driver;
};

}  // namespace

TEST_F(EditorSaveOverPlay, ASaveAfterPlayKeepsTheLevelAndTheEditsOnly)
{
    Play();
    const std::uint32_t player = Id("Player");
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    const Json& playerInFile = original["APlayer"];
    // Play has made heat-map marks and moved the player, whose picture shows what it does.
    ASSERT_GT(Count("HeatMapObj"), 0u);
    ASSERT_NE(store.GetComponent<Engine::Transform>(player)->x_pos, playerInFile["Transform"]["PosX"][0].get<float>());

    ToggleEditor();
    ASSERT_EQ(driver->game().editorActive, 1);
    PressCtrlS();
    EXPECT_EQ(Entries(Json::parse(TestSupport::ReadFile(LevelFile))), Entries(original));

    // The designer picks the player and nudges it right with the arrow key; then play goes on,
    // and the level is saved from the editor opened again.
    ClickOn(player);
    ASSERT_EQ(Engine::Editor::Instance().selection, (std::vector<std::uint32_t>{player}));
    const float nudgedX = store.GetComponent<Engine::Transform>(player)->x_pos + 5.0f;
    driver->Tap(SDLK_RIGHT);
    ASSERT_EQ(store.GetComponent<Engine::Transform>(player)->x_pos, nudgedX);
    ToggleEditor();
    ASSERT_EQ(driver->game().editorActive, 0);
    Play();
    ToggleEditor();
    PressCtrlS();

    std::map<std::string, Json> expected = Entries(original);
    expected["Player"]["Transform"]["PosX"] = Json::array({static_cast<double>(nudgedX)});
    const std::map<std::string, Json> saved = Entries(Json::parse(TestSupport::ReadFile(LevelFile)));
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(saved.count("HeatMapObj"), 0u);
    EXPECT_EQ(saved.at("Player")["Sprite"], playerInFile["Sprite"]);
}

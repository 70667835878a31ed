#include "EditorFixture.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/ViewMapping.h"
#include "platform/VirtualKeys.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace EditorTest {

namespace {

namespace Key = Platform::VirtualKey;
constexpr std::uint8_t Ctrl = Key::Control;

class Shortcuts : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        editor().BindKeys(true);
    }

    // One press and release of a key, as the window reports them.
    void Tap(std::uint8_t key)
    {
        Engine::InputManager::Instance().KeyPressed(key);
        Engine::InputManager::Instance().KeyReleased(key);
    }

    Engine::Transform& TransformOf(std::uint32_t id)
    {
        return *Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id);
    }
};

// Copies of the two level fixtures in a folder of this test, listed as "Level 1" and "Level 2"
// beside a third level.
void ListLevels()
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    const std::filesystem::path folder = TestSupport::TemporaryHome() / "levels";
    std::filesystem::create_directories(folder);
    for (const char* name : {"LevelOne.json", "LevelTwo.json", "LevelPartial.json"})
        std::filesystem::copy_file(Fixture(name), folder / name, std::filesystem::copy_options::overwrite_existing);
    levels.levelNames = {"Level 1", "Level 2", "Level 3"};
    levels.levelPaths = {(folder / "LevelOne.json").string(), (folder / "LevelTwo.json").string(),
                         (folder / "LevelPartial.json").string()};
}

}  // namespace

TEST_F(Shortcuts, CtrlLettersActOnlyWithCtrlHeld)
{
    for (std::uint8_t key : {'G', 'S', 'L', 'D'})
        Tap(key);
    EXPECT_FALSE(editor().snapToGrid);
    EXPECT_FALSE(editor().saveLevelRequested);
    EXPECT_FALSE(editor().switchLevelRequested);
    EXPECT_FALSE(editor().showOutlines);

    heldKeys = {Ctrl};
    for (std::uint8_t key : {'G', 'S', 'L', 'D'})
        Tap(key);
    EXPECT_TRUE(editor().snapToGrid);
    EXPECT_TRUE(editor().saveLevelRequested);
    EXPECT_FALSE(editor().saveScriptRequested);
    EXPECT_TRUE(editor().switchLevelRequested);
    EXPECT_TRUE(editor().showOutlines);

    Tap('G');
    Tap('D');
    EXPECT_FALSE(editor().snapToGrid);
    EXPECT_FALSE(editor().showOutlines);
}

TEST_F(Shortcuts, CtrlSInTheScriptEditorAsksOnlyForTheScriptSave)
{
    heldKeys = {Ctrl};
    editor().scriptEditorFocused = true;
    Tap('S');
    EXPECT_TRUE(editor().saveScriptRequested);
    EXPECT_FALSE(editor().saveLevelRequested);
}

TEST_F(Shortcuts, BindingIsMadeOnceAndReleasingCtrlClearsItsFlag)
{
    Engine::InputManager& input = Engine::InputManager::Instance();
    const std::size_t pressed = input.keyPressed.size();
    editor().BindKeys(true);
    editor().BindKeys(true);
    EXPECT_EQ(input.keyPressed.size(), pressed);

    editor().ctrlHeld = true;
    input.KeyPressed(Ctrl);
    input.KeyReleased(Ctrl);
    EXPECT_FALSE(editor().ctrlHeld);

    // The next editor frame reads Ctrl from the held keys again.
    heldKeys = {Ctrl};
    Frame();
    EXPECT_TRUE(editor().ctrlHeld);
}

TEST_F(Shortcuts, ArrowsMoveTheSelectionAndSkipObjectsWithoutTransform)
{
    const std::uint32_t a = Place("A", 0, 0);
    const std::uint32_t bare = Engine::GameObjectTable::Instance().CreateGameObject("Bare");
    const std::uint32_t b = Place("B", 100, 50);
    editor().selection = {a, bare, b};

    Tap(Key::Right);
    Tap(Key::Right);
    Tap(Key::Left);
    EXPECT_FLOAT_EQ(TransformOf(a).x_pos, 5.0f);
    EXPECT_FLOAT_EQ(TransformOf(b).x_pos, 105.0f);
    Tap(Key::Up);
    Tap(Key::Down);
    Tap(Key::Down);
    EXPECT_FLOAT_EQ(TransformOf(a).y_pos, -5.0f);
    EXPECT_FLOAT_EQ(TransformOf(b).y_pos, 45.0f);
}

TEST(ShortcutBinding, KeysTheGameBoundFirstKeepTheGameAction)
{
    // The game's menu keys are bound at start-up, before the editor's first frame.
    int menuMoves = 0;
    Engine::InputManager& input = Engine::InputManager::Instance();
    input.RegisterKeyPressedFunction(Key::Up, [&menuMoves] { ++menuMoves; });
    InitializeLogging();
    Engine::Editor& editor = Engine::Editor::Instance();
    editor.BindKeys(true);

    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject("A");
    Engine::ComponentStore::Instance().AddComponent<Engine::Transform>(id);
    editor.selection = {id};
    input.KeyPressed(Key::Up);
    input.KeyReleased(Key::Up);
    EXPECT_EQ(menuMoves, 1);
    EXPECT_FLOAT_EQ(Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(id)->y_pos, 0.0f);
}

TEST_F(Shortcuts, DeleteRemovesTheSelectionAndClearsThePick)
{
    const std::uint32_t a = Place("A", 0, 0);
    const std::uint32_t b = Place("B", 0, 0);
    const std::uint32_t kept = Place("C", 0, 0);
    editor().selectedObject = static_cast<std::int32_t>(kept);
    editor().selection = {a, b};
    Tap(Key::Delete);
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    EXPECT_EQ(table.Get(a), nullptr);
    EXPECT_EQ(table.Get(b), nullptr);
    EXPECT_NE(table.Get(kept), nullptr);
    EXPECT_TRUE(editor().selection.empty());
    EXPECT_EQ(editor().selectedObject, -1);

    // With nothing selected it removes nothing and still clears the pick.
    editor().selectedObject = static_cast<std::int32_t>(kept);
    Tap(Key::Delete);
    EXPECT_NE(table.Get(kept), nullptr);
    EXPECT_EQ(editor().selectedObject, -1);
}

TEST_F(Shortcuts, ASelectionDropsObjectsRemovedElsewhere)
{
    const std::uint32_t a = PlaceBody("A", 0, 0);
    const std::uint32_t b = PlaceBody("B", 0, 0);
    editor().selection = {a, b};
    editor().dragAnchors[a] = {0, 0, 0};
    editor().ghostBeforeDrag[a] = true;
    Engine::GameObjectTable::Instance().RemoveGameObject(a);
    Frame();
    EXPECT_EQ(editor().selection, std::vector<std::uint32_t>{b});
    EXPECT_EQ(editor().dragAnchors.count(a), 0u);
    EXPECT_EQ(editor().ghostBeforeDrag.count(a), 0u);
}

TEST_F(Shortcuts, LevelSwitchGoesBetweenTheFirstTwoLevels)
{
    ListLevels();
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    struct SwitchCase {
        const char* from;
        const char* to;
    };
    const std::vector<SwitchCase> cases = {{"Level 1", "Level 2"}, {"Level 2", "Level 1"}, {"Level 3", "Level 1"},
                                           {"Splash Screen", "Level 1"}};
    for (const SwitchCase& switchCase : cases) {
        levels.currentLevel = switchCase.from;
        editor().switchLevelRequested = true;
        editor().HandleLevelRequests();
        EXPECT_EQ(levels.currentLevel, switchCase.to) << "from " << switchCase.from;
        EXPECT_FALSE(editor().switchLevelRequested);
    }
}

TEST_F(Shortcuts, SaveAndSwitchInOneFrameSaveTheOldLevelFirst)
{
    ListLevels();
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel("Level 1");
    const std::uint32_t crate = Engine::GameObjectTable::Instance().FindGameObject("Crate");
    TransformOf(crate).x_pos = 123.0f;
    editor().selection = {crate};

    editor().saveLevelRequested = true;
    editor().switchLevelRequested = true;
    editor().HandleLevelRequests();
    EXPECT_EQ(levels.currentLevel, "Level 2");
    EXPECT_FLOAT_EQ(editor().savingBannerTimer, 0.0f);
    EXPECT_FALSE(editor().saveLevelRequested);
    EXPECT_TRUE(editor().selection.empty());
    EXPECT_NE(TestSupport::ReadFile(levels.levelPaths[0]).find("123"), std::string::npos);
}

TEST_F(Shortcuts, ASaveOfALevelLoadedInPartIsRefusedAndTheBannerSaysSo)
{
    ListLevels();
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel("Level 3");  // its second entry is faulty
    ASSERT_FALSE(levels.CurrentLevelLoadedWhole());
    const std::string before = TestSupport::ReadFile(levels.levelPaths[2]);
    editor().saveLevelRequested = true;
    editor().HandleLevelRequests();
    EXPECT_EQ(TestSupport::ReadFile(levels.levelPaths[2]), before);
    EXPECT_EQ(editor().bannerText, "Not saved: the level loaded only in part");
    EXPECT_FLOAT_EQ(editor().savingBannerTimer, 0.0f);

    levels.LoadLevel("Level 1");
    editor().saveLevelRequested = true;
    editor().HandleLevelRequests();
    EXPECT_EQ(editor().bannerText, "Saved Level 1");
}

// Whatever the save did reaches the banner: saved, refused for a level the list does not
// name, refused for a file that cannot be written.
TEST_F(Shortcuts, TheBannerSaysWhatEachSaveDid)
{
    ListLevels();
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel("Level 1");
    const std::filesystem::path file = levels.levelPaths[0];
    struct Case {
        const char* what;
        std::function<void()> before;
        const char* banner;
    };
    const std::vector<Case> cases = {
        {"saved", [] {}, "Saved Level 1"},
        {"not listed", [&] { levels.currentLevel = "Level 9"; }, "Not saved: the level is not in the level list"},
        {"read-only file",
         [&] {
             levels.currentLevel = "Level 1";
             std::filesystem::permissions(file, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                                    std::filesystem::perms::others_write,
                                          std::filesystem::perm_options::remove);
         },
         "Not saved: the level file could not be written"},
    };
    for (const Case& save : cases) {
        save.before();
        editor().savingBannerTimer = -1000.0f;
        editor().saveLevelRequested = true;
        editor().HandleLevelRequests();
        EXPECT_EQ(editor().bannerText, save.banner) << save.what;
        EXPECT_FLOAT_EQ(editor().savingBannerTimer, 0.0f) << save.what;
    }
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

}  // namespace EditorTest

namespace EditorTest {

// The level file gets what the editor adds and copies, and loses what it deletes; an object
// that play made (here a bullet) is not the level's and is not saved.
TEST_F(Shortcuts, ASaveHoldsWhatTheEditorMadeAndNotWhatItDeletedOrPlayMade)
{
    ListLevels();
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevel("Level 1");
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    const std::uint32_t crate = table.FindGameObject("Crate");
    const std::uint32_t bullet = table.CreateGameObject("Bullet");
    Engine::ComponentStore::Instance().AddComponent<Engine::Transform>(bullet);
    editor().AddObject();

    // Ctrl and a click on the crate in the game view copies it; Delete then takes the crate.
    MoveMouse(1, 1);
    Frame([this] { editor().ShowGameWindow(); });
    const Engine::ViewMapping view = Engine::ViewMapping::Current();
    editor().selection = {crate};
    editor().ctrlHeld = true;
    Click(view.ScreenX(10.0f), view.ScreenY(20.0f), [this] { editor().ShowGameWindow(); });
    editor().ctrlHeld = false;
    ASSERT_EQ(editor().selection.size(), 1u);
    EXPECT_EQ(table.Get(editor().selection[0])->name, "Crate(0)");
    editor().selection = {crate};
    Tap(Key::Delete);
    ASSERT_EQ(table.Get(crate), nullptr);

    editor().saveLevelRequested = true;
    editor().HandleLevelRequests();
    const auto saved = nlohmann::json::parse(TestSupport::ReadFile(levels.levelPaths[0]));
    std::vector<std::string> keys;
    for (const auto& [key, entry] : saved.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"Crate(0)", "New Object " + std::to_string(bullet + 1)}));
    EXPECT_EQ(saved["Crate(0)"]["Transform"]["PosX"][0], 10.0);
}

}  // namespace EditorTest

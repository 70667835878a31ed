#include "EditorFixture.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "graphics/Camera.h"

#include <imgui_internal.h>

namespace EditorTest {

namespace {

using Engine::ComponentStore;
using Engine::GameObjectTable;

class ObjectList : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        MoveMouse(1000, 700);
        List();
    }

    void List()
    {
        Frame([this] { editor().ShowObjectListWindow(); });
    }

    // The middle of a row of the list (rows are a text line plus the item spacing apart).
    ImVec2 Row(int index)
    {
        const ImGuiWindow* rows = FirstChild("Object List");
        return {rows->Pos.x + 40, rows->Pos.y + static_cast<float>(index) * 21.0f + 6.0f};
    }

    void ClickAt(ImVec2 point)
    {
        Click(point.x, point.y, [this] { editor().ShowObjectListWindow(); });
    }

    // The three buttons, 30 and 60 pixels above the bottom of the 250 x 300 window at (0, 20).
    inline static const ImVec2 AddButton{65, 301};
    inline static const ImVec2 ArchetypeButton{122, 271};
    inline static const ImVec2 RemoveButton{180, 301};
};

}  // namespace

TEST_F(ObjectList, ADoubleClickPicksARowAndASingleClickDoesNot)
{
    Place("Crate", 0, 0);
    Place("Player", 0, 0);
    List();
    DoubleClick(Row(1).x, Row(1).y, [this] { editor().ShowObjectListWindow(); });
    EXPECT_EQ(editor().selectedObject, 1);
    ClickAt(Row(0));
    EXPECT_EQ(editor().selectedObject, 1);
}

TEST_F(ObjectList, AnEmptyLevelStillShowsTheButtons)
{
    ClickAt(AddButton);
    GameObjectTable& table = GameObjectTable::Instance();
    ASSERT_NE(table.Get(0), nullptr);
    EXPECT_EQ(table.Get(0)->name, "New Object 1");
    EXPECT_EQ(editor().selectedObject, -1);
}

TEST_F(ObjectList, AddObjectMakesTheDefaultBoxNamedAfterTheHighestId)
{
    Place("Crate", 0, 0);
    Place("Player", 0, 0);
    ClickAt(AddButton);
    const std::uint32_t id = GameObjectTable::Instance().FindGameObject("New Object 2");
    ASSERT_EQ(id, 2u);
    ComponentStore& store = ComponentStore::Instance();
    const auto* transform = store.GetComponent<Engine::Transform>(id);
    const auto* sprite = store.GetComponent<Engine::Sprite>(id);
    const auto* body = store.GetComponent<Engine::RigidBody>(id);
    ASSERT_TRUE(transform && sprite && body);
    EXPECT_FLOAT_EQ(transform->x_sca, 15.0f);
    EXPECT_FLOAT_EQ(transform->y_sca, 15.0f);
    EXPECT_EQ(sprite->Texture, "test.png");
    EXPECT_FLOAT_EQ(body->left, -15.0f);
    EXPECT_FLOAT_EQ(body->top, 15.0f);
    EXPECT_EQ(body->BodyType, 0);
}

TEST_F(ObjectList, RemoveObjectTakesThePickedObjectAndDoesNothingWithoutOne)
{
    Place("Crate", 0, 0);
    const std::uint32_t player = Place("Player", 0, 0);
    editor().selectedObject = -1;
    ClickAt(RemoveButton);
    EXPECT_NE(GameObjectTable::Instance().Get(0), nullptr);

    editor().selectedObject = static_cast<std::int32_t>(player);
    editor().selection = {player};
    ClickAt(RemoveButton);
    EXPECT_EQ(GameObjectTable::Instance().Get(player), nullptr);
    EXPECT_EQ(editor().selectedObject, -1);
    EXPECT_TRUE(editor().selection.empty());
}

TEST_F(ObjectList, SaveAsArchetypeStoresThePickedObject)
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    const std::filesystem::path file = TestSupport::TemporaryHome() / "Archetypes.json";
    std::filesystem::copy_file(Fixture("Archetypes.json"), file);
    levels.archetypePath = file;
    const std::uint32_t crate = Place("Crate", 0, 0, 7, 7);
    editor().selectedObject = -1;
    ClickAt(ArchetypeButton);
    EXPECT_EQ(TestSupport::ReadFile(file).find("Crate"), std::string::npos);

    editor().selectedObject = static_cast<std::int32_t>(crate);
    ClickAt(ArchetypeButton);
    EXPECT_NE(TestSupport::ReadFile(file).find("\"Crate\""), std::string::npos);
    ASSERT_EQ(levels.archetypes.size(), 3u);
}

TEST_F(ObjectList, FTravelsTowardsThePickUnlessTheScriptEditorHasFocus)
{
    const std::uint32_t target = Place("Target", 100, 0);
    editor().selectedObject = static_cast<std::int32_t>(target);
    Engine::Camera* camera = Engine::Camera::Instance();
    camera->eye[0] = 0;
    heldKeys = {'F'};
    editor().scriptEditorFocused = true;
    List();
    EXPECT_FLOAT_EQ(camera->eye[0], 0);
    EXPECT_FALSE(editor().cameraMoving);

    editor().scriptEditorFocused = false;
    List();
    EXPECT_FLOAT_EQ(camera->eye[0], 15);
    // Once started, the travel goes on without the key.
    heldKeys.clear();
    List();
    EXPECT_FLOAT_EQ(camera->eye[0], 30);
    EXPECT_TRUE(editor().cameraMoving);
}

}  // namespace EditorTest

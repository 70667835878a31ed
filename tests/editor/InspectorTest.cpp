#include "EditorFixture.h"

#include "core/Animation.h"
#include "core/AnimationTable.h"
#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "gameplay/AnimationUpdate.h"
#include "platform/VirtualKeys.h"
#include "scripting/ScriptManager.h"

#include <imgui_internal.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>

namespace EditorTest {

namespace {

using Engine::ComponentStore;

// Rows of the inspector at (0, 320): a text line and the item spacing apart.
constexpr float RowHeight = 21.0f;
float RowY(int row) { return 320.0f + RowHeight * static_cast<float>(row) + 6.0f; }

class Inspector : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        MoveMouse(1000, 100);
        Draw();
    }

    void Draw()
    {
        Frame([this] { editor().ShowInspectorWindow(); });
    }

    void ClickAt(float x, float y)
    {
        Click(x, y, [this] { editor().ShowInspectorWindow(); });
    }

    // A press at `from`, then the mouse moved by `dx` with the button still down, then released.
    void DragBy(float x, float y, float dx)
    {
        MoveMouse(x, y);
        PressLeft(true);
        Draw();
        MoveMouse(x + dx, y);
        Draw();
        PressLeft(false);
        Draw();
    }

    std::uint32_t Pick(std::uint32_t id)
    {
        editor().selectedObject = static_cast<std::int32_t>(id);
        Draw();
        return id;
    }

    Engine::Transform& TransformOf(std::uint32_t id) { return *ComponentStore::Instance().GetComponent<Engine::Transform>(id); }
    Engine::RigidBody* BodyOf(std::uint32_t id) { return ComponentStore::Instance().GetComponent<Engine::RigidBody>(id); }
};

}  // namespace

TEST_F(Inspector, TheNameChangesOnlyWithEnterAndFollowsTheSelection)
{
    const std::uint32_t crate = Pick(PlaceBody("Crate", 0, 0));
    const std::uint32_t other = PlaceBody("Ladder", 0, 0);
    ClickAt(230, RowY(0));  // past the end of the name in its field
    Type("s");
    Draw();
    EXPECT_EQ(Engine::GameObjectTable::Instance().Get(crate)->name, "Crate");
    PressKey(0x0D, true);
    Draw();
    PressKey(0x0D, false);
    Draw();
    EXPECT_EQ(Engine::GameObjectTable::Instance().Get(crate)->name, "Crates");

    ClickAt(1000, 100);  // away from the field
    Pick(other);
    EXPECT_STREQ(editor().inspector.nameBuffer.data(), "Ladder");
}

TEST_F(Inspector, AWiderTransformScaleWidensTheBodyOnBothSides)
{
    const std::uint32_t id = Pick(PlaceBody("Crate", 0, 0, 1, 1));
    OpenHeader("Inspector", "Transform");
    Draw();
    DragBy(100, RowY(4), 10);  // the " Scale" row's X field
    EXPECT_FLOAT_EQ(TransformOf(id).x_sca, 11.0f);
    EXPECT_FLOAT_EQ(BodyOf(id)->left, -11.0f);
    EXPECT_FLOAT_EQ(BodyOf(id)->right, 11.0f);
    EXPECT_FLOAT_EQ(BodyOf(id)->top, 1.0f);

    // Without a body the scale alone changes.
    ComponentStore::Instance().RemoveComponent<Engine::RigidBody>(id);
    for (int frame = 0; frame < 30; ++frame)
        Draw();  // so that the next press is no double click, which would type into the field
    DragBy(100, RowY(4), 10);
    EXPECT_FLOAT_EQ(TransformOf(id).x_sca, 21.0f);
}

TEST_F(Inspector, TheBodySizeSetsBothEdgesFromOneValue)
{
    const std::uint32_t id = Pick(PlaceBody("Crate", 0, 0, 10, 5));
    OpenHeader("Inspector", "Rigidbody");
    Draw();
    DragBy(100, RowY(4), 10);  // under the closed Transform header, the " Size" row's X field
    EXPECT_FLOAT_EQ(BodyOf(id)->right, 20.0f);
    EXPECT_FLOAT_EQ(BodyOf(id)->left, -20.0f);
    EXPECT_FLOAT_EQ(BodyOf(id)->top, 5.0f);
}

TEST_F(Inspector, RemoveTakesTheComponentAtOnce)
{
    const std::uint32_t id = Pick(PlaceBody("Crate", 0, 0));
    OpenHeader("Inspector", "Transform");
    Draw();
    ClickAt(20, RowY(6));  // below the three rows of the open panel
    EXPECT_EQ(ComponentStore::Instance().GetComponent<Engine::Transform>(id), nullptr);
    EXPECT_NE(BodyOf(id), nullptr);
}

TEST_F(Inspector, AddComponentStaysOpenUntilAnItemIsChosen)
{
    const std::uint32_t id = Pick(Place("Crate", 0, 0));
    ClickAt(60, 700);  // "Add Component" at the bottom of the window
    ASSERT_TRUE(editor().addComponentOpen);
    ASSERT_NE(OpenPopup(), nullptr);
    ClickAt(1000, 100);  // outside: the popup comes back the next frame
    Draw();
    EXPECT_TRUE(editor().addComponentOpen);
    ImGuiWindow* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);

    // The fourth item is "Rigidbody".
    ClickAt(popup->Pos.x + 20, popup->Pos.y + 3 * RowHeight + 6);
    EXPECT_NE(BodyOf(id), nullptr);
    EXPECT_FALSE(editor().addComponentOpen);
}

TEST_F(Inspector, ARightClickOnAHandlerOrAClosedEventRemovesIt)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject("Enemy");
    ComponentStore::Instance().AddComponent<Engine::EventSet>(id);
    auto& events = ComponentStore::Instance().GetComponent<Engine::EventSet>(id)->events;
    events["InRange"] = {"Shoot"};
    events["OnCollision"] = {"Hurt", "Bounce", "Hurt"};
    Pick(id);
    OpenHeader("Inspector", "Events");
    OpenHeader("Inspector", "OnCollision");
    Draw();

    // Rows: Events, InRange (closed), OnCollision, then its handlers.
    MoveMouse(50, RowY(5));
    PressRight(true);
    Draw();
    PressRight(false);
    Draw();
    EXPECT_EQ(events.at("OnCollision"), (std::vector<std::string>{"Bounce", "Hurt"}));

    MoveMouse(50, RowY(3));
    PressRight(true);
    Draw();
    PressRight(false);
    Draw();
    EXPECT_EQ(events.count("InRange"), 0u);
    EXPECT_EQ(events.count("OnCollision"), 1u);
}

TEST_F(Inspector, AnOnUpdateEventJoinsTheEveryFrameListOnlyOnce)
{
    auto* scripts = Engine::GetSystem<Engine::ScriptManager>();
    scripts->RegisterEveryFrame("Spin");
    const std::size_t listed = scripts->everyFrame.size();
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject("Wheel");
    ComponentStore::Instance().AddComponent<Engine::EventSet>(id);
    Pick(id);
    OpenHeader("Inspector", "Events");
    Draw();
    ClickAt(40, RowY(3));  // "Add New Event" under the empty list
    ASSERT_TRUE(editor().inspector.addingEvent);
    std::strcpy(editor().inspector.eventBuffer.data(), "OnUpdate");
    std::strcpy(editor().inspector.scriptBuffer.data(), "Spin");
    heldKeys = {Platform::VirtualKey::Return};
    Draw();
    EXPECT_FALSE(editor().inspector.addingEvent);
    EXPECT_EQ(scripts->everyFrame.size(), listed);
    EXPECT_EQ(ComponentStore::Instance().GetComponent<Engine::EventSet>(id)->events.at("OnUpdate"), std::vector<std::string>{"Spin"});
}

TEST_F(Inspector, NoPickOrAnEmptySlotShowsOnlyTheTitle)
{
    Place("Crate", 0, 0);
    for (std::int32_t selected : {-1, 10000, 5}) {
        editor().selectedObject = selected;
        ClickAt(60, 700);  // where "Add Component" would be
        EXPECT_FALSE(editor().addComponentOpen) << selected;
    }
}

TEST_F(Inspector, AnAnimationChosenInItsPanelPlaysFromItsFirstCell)
{
    Engine::AnimationTable::Instance().Add("Blink", {.frameCount = 4, .rows = 2, .columns = 2, .frameDelay = 0.1f, .looping = true, .spriteSheet = ""});
    Engine::LevelManager::Instance().animationHandles = {"Idle", "Blink"};
    const std::uint32_t id = Place("Lamp", 0, 0);
    ComponentStore::Instance().AddComponent<Engine::Animation>(id);
    auto* animation = ComponentStore::Instance().GetComponent<Engine::Animation>(id);
    Pick(id);
    OpenHeader("Inspector", "Animation");
    Draw();
    ClickAt(150, RowY(4));  // the handle, under the closed Transform header and the open one
    Draw();                 // the popup takes its size
    ImGuiWindow* popup = OpenPopup();
    ASSERT_NE(popup, nullptr);
    ClickAt(popup->Pos.x + 20, popup->Pos.y + RowHeight + 6);  // "Blink", the second
    ASSERT_EQ(animation->Handle, "Blink");

    // The world runs again: the cell moves on, from the first.
    Engine::AnimationUpdate update;
    FrameDeltaTime = 1.0f / 60.0f;
    std::set<std::pair<float, float>> cells;
    for (int frame = 0; frame < 30; ++frame) {
        update.Update();
        cells.insert({animation->u, animation->v});
    }
    EXPECT_TRUE(cells.contains({0.0f, 0.0f}));
    EXPECT_GE(cells.size(), 3u) << "the animation advances";
}


}  // namespace EditorTest

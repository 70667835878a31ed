#include "EditorFixture.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "editor/ViewMapping.h"
#include "graphics/Camera.h"
#include "platform/VirtualKeys.h"

#include <vector>

namespace EditorTest {

namespace {

using Engine::ComponentStore;
using Engine::Transform;

class GameView : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        MoveMouse(1, 1);
        View();  // the windows exist from here on, so the next frame knows what is hovered
    }

    void View()
    {
        Frame([this] { editor().ShowGameWindow(); });
    }

    Transform& TransformOf(std::uint32_t id) { return *ComponentStore::Instance().GetComponent<Transform>(id); }
    Engine::RigidBody& BodyOf(std::uint32_t id) { return *ComponentStore::Instance().GetComponent<Engine::RigidBody>(id); }

    static Engine::ViewMapping Mapping() { return Engine::ViewMapping::Current(Engine::Editor::Instance().zoom); }
    // The screen point of a world point.
    static ImVec2 Screen(float x, float y) { return {Mapping().ScreenX(x), Mapping().ScreenY(y)}; }

    void ClickAt(float x, float y)
    {
        Click(x, y, [this] { editor().ShowGameWindow(); });
    }

    // A left press at `from`, a move to `to`, then the release there.
    void DragLeft(ImVec2 from, ImVec2 to)
    {
        MoveMouse(from.x, from.y);
        PressLeft(true);
        View();
        MoveMouse(to.x, to.y);
        View();
        PressLeft(false);
        View();
    }
};

}  // namespace

TEST_F(GameView, AClickPicksTheLowestIdUnderItAndBoxEdgesCount)
{
    const std::uint32_t away = PlaceBody("Away", -150, 100);
    const std::uint32_t low = PlaceBody("Low", 0, 0);
    PlaceBody("High", 0, 0);
    ClickAt(640, 360);
    EXPECT_EQ(editor().selectedObject, static_cast<std::int32_t>(low));
    EXPECT_EQ(editor().selection, std::vector<std::uint32_t>{low});
    EXPECT_TRUE(BodyOf(low).Ghost == false);  // the drop put the flag back

    const ImVec2 edge = Screen(-150 + 10, 100 - 10);  // right and lower edges exactly
    ClickAt(edge.x, edge.y);
    EXPECT_EQ(editor().selectedObject, static_cast<std::int32_t>(away));
}

TEST_F(GameView, AClickOnEmptySpaceEmptiesTheSelection)
{
    const std::uint32_t a = PlaceBody("A", 0, 0);
    const std::uint32_t b = PlaceBody("B", 50, 0);
    editor().selection = {a, b};
    editor().selectedObject = static_cast<std::int32_t>(a);
    ClickAt(300, 100);
    EXPECT_TRUE(editor().selection.empty());
    EXPECT_TRUE(editor().dragAnchors.empty());
    EXPECT_EQ(editor().selectedObject, -1);
}

TEST_F(GameView, WithoutPlacedObjectsAClickStartsNoRectangle)
{
    Engine::GameObjectTable::Instance().CreateGameObject("Bare");
    editor().selection = {0};
    ClickAt(300, 100);
    EXPECT_TRUE(editor().selection.empty());
    EXPECT_FALSE(editor().gameView.boxSelecting);
}

TEST_F(GameView, TheRectangleSelectsOnlyPositionsStrictlyInside)
{
    const std::uint32_t a = PlaceBody("A", 0, 0);
    const std::uint32_t b = PlaceBody("B", 100, 0);
    const ImVec2 start(300, 100);
    // Ending exactly at B's x leaves B on the border: only A is selected.
    DragLeft(start, ImVec2(Screen(100, 0).x, Screen(100, 0).y + 20));
    EXPECT_EQ(editor().selection, std::vector<std::uint32_t>{a});
    EXPECT_FALSE(editor().gameView.boxSelecting);

    DragLeft(start, ImVec2(Screen(100, 0).x + 1, Screen(100, 0).y + 1));
    EXPECT_EQ(editor().selection, (std::vector<std::uint32_t>{a, b}));
    EXPECT_EQ(editor().selectedObject, static_cast<std::int32_t>(a));
    EXPECT_EQ(editor().dragAnchors.size(), 2u);
}

TEST_F(GameView, AClickOnOneOfSeveralSelectedDragsThemAllAndDropsThemWithTheirGhostFlags)
{
    const std::uint32_t lowest = PlaceBody("Lowest", -200, 200);
    const std::uint32_t a = PlaceBody("A", 0, 0);
    const std::uint32_t b = PlaceBody("B", 100, 0);
    BodyOf(b).Ghost = true;
    editor().selection = {a, b};
    editor().dragAnchors = {{a, {0, 0, 0}}, {b, {100, 0, 0}}};

    MoveMouse(Screen(100, 0).x, Screen(100, 0).y);
    PressLeft(true);
    View();
    EXPECT_TRUE(BodyOf(a).Ghost);
    MoveMouse(Screen(100, 0).x + 100, Screen(100, 0).y - 50);
    View();
    PressLeft(false);
    View();

    EXPECT_EQ(editor().selection, (std::vector<std::uint32_t>{a, b}));
    EXPECT_EQ(editor().selectedObject, -1);  // "Lowest" was walked past first
    const Engine::ViewMapping view = Mapping();
    const float movedX = view.WorldX(100) - view.WorldX(0);
    const float movedY = view.WorldY(0) - view.WorldY(50);
    EXPECT_FLOAT_EQ(TransformOf(a).x_pos, movedX);
    EXPECT_FLOAT_EQ(TransformOf(b).x_pos, 100 + movedX);
    EXPECT_FLOAT_EQ(TransformOf(b).y_pos, movedY);
    EXPECT_FLOAT_EQ(TransformOf(lowest).x_pos, -200);
    EXPECT_FALSE(BodyOf(a).Ghost);
    EXPECT_TRUE(BodyOf(b).Ghost);
    EXPECT_FALSE(editor().gameView.dragging);
}

TEST_F(GameView, ARightClickCancelsTheDragAndPutsTheObjectBack)
{
    const std::uint32_t a = PlaceBody("A", 0, 0);
    MoveMouse(640, 360);
    PressLeft(true);
    View();
    MoveMouse(700, 300);
    View();
    EXPECT_NE(TransformOf(a).x_pos, 0.0f);
    PressRight(true);
    View();
    EXPECT_FLOAT_EQ(TransformOf(a).x_pos, 0.0f);
    EXPECT_FLOAT_EQ(TransformOf(a).y_pos, 0.0f);
    EXPECT_FALSE(BodyOf(a).Ghost);
    EXPECT_FALSE(editor().gameView.dragging);
}

TEST_F(GameView, SnappingTakesTheEdgesWholeUnitsPastTheGridOff)
{
    struct SnapCase {
        float anchorX;
        float left;
        float expectedX;
    };
    const std::vector<SnapCase> cases = {
        {88.6f, 0.0f, 75.6f}, {-40.5f, 0.0f, -25.5f}, {75.0f, 0.0f, 75.0f}, {100.0f, -10.0f, 75.0f}, {25.25f, 0.0f, 25.25f},
    };
    editor().snapToGrid = true;
    const std::uint32_t id = PlaceBody("A", 0, 0);
    BodyOf(id).top = 0.0f;
    MoveMouse(640, 360);
    PressLeft(true);
    for (const SnapCase& snapCase : cases) {
        BodyOf(id).left = snapCase.left;
        editor().dragAnchors[id] = {snapCase.anchorX, 0.0f, 0.0f};
        Frame([&] { EXPECT_EQ(editor().DragObject(id), 1); });
        EXPECT_NEAR(TransformOf(id).x_pos, snapCase.expectedX, 1e-4) << snapCase.anchorX;
    }
}

TEST_F(GameView, ResizeKeysGrowTheDraggedObjectUnlessCtrlIsHeld)
{
    const std::uint32_t id = PlaceBody("A", 0, 0, 10, 10);
    editor().dragAnchors[id] = {0, 0, 0};
    MoveMouse(640, 360);
    PressLeft(true);
    heldKeys = {'W', 'D'};
    Frame([&] { editor().DragObject(id); });
    EXPECT_FLOAT_EQ(TransformOf(id).y_sca, 11.5f);
    EXPECT_FLOAT_EQ(BodyOf(id).top, 11.5f);
    EXPECT_FLOAT_EQ(BodyOf(id).bottom, -11.5f);
    EXPECT_FLOAT_EQ(TransformOf(id).x_sca, 11.5f);
    EXPECT_FLOAT_EQ(BodyOf(id).left, -11.5f);

    heldKeys = {'S', 'A', Platform::VirtualKey::Control};
    Frame([&] { editor().DragObject(id); });
    EXPECT_FLOAT_EQ(TransformOf(id).y_sca, 11.5f);
    EXPECT_FLOAT_EQ(TransformOf(id).x_sca, 11.5f);
}

TEST_F(GameView, AnObjectWithoutADragEntryDropsSolidAndIdsPast25000AreNotDragged)
{
    const std::uint32_t id = PlaceBody("A", 0, 0);
    BodyOf(id).Ghost = true;
    MoveMouse(640, 360);
    PressLeft(true);
    View();
    PressLeft(false);
    editor().ghostBeforeDrag.clear();
    Frame([&] { EXPECT_EQ(editor().DragObject(id), 2); });
    EXPECT_FALSE(BodyOf(id).Ghost);
    Frame([&] { EXPECT_EQ(editor().DragObject(25001), 2); });
}

TEST_F(GameView, CtrlClickDuplicatesTheSelectionNamedAfterTheSourceIds)
{
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (int i = 0; i < 12; ++i)
        table.CreateGameObject("Filler");
    const std::uint32_t box = PlaceBody("Box", 0, 0);
    ASSERT_EQ(box, 12u);
    const std::uint32_t copied = PlaceBody("Box(3)", 100, 0);
    const std::uint32_t bare = Place("Crate", -100, 0);
    ComponentStore::Instance().AddComponent<Engine::Sprite>(box);
    ComponentStore::Instance().GetComponent<Engine::Sprite>(box)->Texture = "Box.png";
    TransformOf(box).z_pos = 4.0f;
    editor().selection = {box, copied, bare};
    editor().ctrlHeld = true;

    MoveMouse(Screen(-100, 0).x, Screen(-100, 0).y);
    PressLeft(true);
    View();
    ASSERT_EQ(editor().selection.size(), 3u);
    const std::vector<std::string> names = {"Box(12)", "Box(13)", "Crate(14)"};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::uint32_t id = editor().selection[i];
        EXPECT_EQ(table.Get(id)->name, names[i]);
        EXPECT_TRUE(BodyOf(id).Ghost);
        EXPECT_FLOAT_EQ(TransformOf(id).z_pos, 0.0f);
    }
    EXPECT_EQ(ComponentStore::Instance().GetComponent<Engine::Sprite>(editor().selection[0])->Texture, "Box.png");
    EXPECT_FLOAT_EQ(BodyOf(editor().selection[0]).right, 10.0f);

    // The duplicates follow the mouse; the sources stay.
    MoveMouse(Screen(-100, 0).x + 50, Screen(-100, 0).y);
    View();
    PressLeft(false);
    View();
    EXPECT_FLOAT_EQ(TransformOf(box).x_pos, 0.0f);
    EXPECT_NEAR(TransformOf(editor().selection[0]).x_pos, Mapping().WorldX(50) - Mapping().WorldX(0), 1e-3);
    EXPECT_FALSE(BodyOf(editor().selection[0]).Ghost);  // no entry from before the drag: solid
}

TEST_F(GameView, CtrlClickWithAnEmptySelectionDuplicatesNothing)
{
    PlaceBody("A", 0, 0);
    editor().ctrlHeld = true;
    const std::uint32_t before = Engine::GameObjectTable::Instance().highestUsed;
    ClickAt(640, 360);
    EXPECT_EQ(Engine::GameObjectTable::Instance().highestUsed, before);
    EXPECT_TRUE(editor().selection.empty());
}

TEST_F(GameView, TheWheelZoomsBetweenItsLimits)
{
    Engine::Camera* camera = Engine::Camera::Instance();
    MoveMouse(640, 360);
    Wheel(-1);
    View();
    EXPECT_FLOAT_EQ(editor().zoom, 1.2f);
    EXPECT_FLOAT_EQ(camera->viewWidth, 1.2f * 1280);
    for (int i = 0; i < 100; ++i) {
        Wheel(-1);
        View();
    }
    EXPECT_FLOAT_EQ(editor().zoom, 15.5f);
    EXPECT_FLOAT_EQ(camera->viewWidth, 19840);
    EXPECT_FLOAT_EQ(camera->viewHeight, 11160);
    Wheel(200);
    View();
    EXPECT_FLOAT_EQ(editor().zoom, 0.2f);
    EXPECT_FLOAT_EQ(camera->viewWidth, 256);
    EXPECT_FLOAT_EQ(camera->viewHeight, 144);
}

TEST_F(GameView, TheRightButtonPansAsIfTheWorldWereGrabbed)
{
    Engine::Camera* camera = Engine::Camera::Instance();
    MoveMouse(600, 300);
    PressRight(true);
    View();
    MoveMouse(650, 280);
    View();
    EXPECT_FLOAT_EQ(camera->eye[0], -50);
    EXPECT_FLOAT_EQ(camera->eye[1], -20);
    EXPECT_FLOAT_EQ(camera->position[0], -50);
    MoveMouse(1200, 700);  // outside the window it goes on
    View();
    EXPECT_FLOAT_EQ(camera->eye[0], -600);
    PressRight(false);
    View();
    EXPECT_FALSE(editor().gameView.panning);
}

TEST_F(GameView, TheCameraTravelsFifteenUnitsAStepAndStopsWithinSixteen)
{
    const std::uint32_t id = Place("Target", 40, 0);
    Engine::Camera* camera = Engine::Camera::Instance();
    camera->eye[0] = 0;
    camera->eye[1] = 0;
    editor().cameraMoving = true;
    editor().StepCameraToObject(id);
    EXPECT_FLOAT_EQ(camera->eye[0], 15);
    editor().StepCameraToObject(id);
    EXPECT_FLOAT_EQ(camera->eye[0], 30);
    EXPECT_TRUE(editor().cameraMoving);
    editor().StepCameraToObject(id);
    EXPECT_FLOAT_EQ(camera->eye[0], 30);
    EXPECT_FALSE(editor().cameraMoving);
}

TEST_F(GameView, TheBannerShowsTwoSecondsEveryHundredAndTwentyTwo)
{
    editor().savingBannerTimer = 120.0f;
    FrameDeltaTime = 1.0f;
    // Seen after each one-second frame: from 0 down to -2 it shows; past -2 it starts again.
    std::vector<int> shownAt;
    for (int second = 1; second <= 250; ++second) {
        View();
        if (editor().savingBannerTimer <= 0.0f)
            shownAt.push_back(second);
    }
    EXPECT_EQ(shownAt, (std::vector<int>{120, 121, 122, 243, 244, 245}));
}

}  // namespace EditorTest

#include "EditorFixture.h"

#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "editor/ViewMapping.h"
#include "graphics/Camera.h"
#include "platform/VirtualKeys.h"

#include <array>
#include <string>
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

    static Engine::ViewMapping Mapping() { return Engine::ViewMapping::Current(); }
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

TEST_F(GameView, AClickPicksTheNearestObjectUnderItThenTheLowestIdAndLayersLast)
{
    // Each case: the depths of three overlapping objects at the view's centre, which of them
    // are parallax layers, and the one a click there picks.
    struct PickCase {
        std::array<float, 3> depth;
        std::array<bool, 3> layer;
        int picked;
    };
    const std::vector<PickCase> cases = {
        {{0.0f, -1.3f, -1.15f}, {false, false, false}, 1},  // nearest depth, not lowest id
        {{-1.3f, -1.3f, -1.0f}, {false, false, false}, 0},  // equal depth: lowest id
        {{-1.0f, -1.1f, 2.0f}, {true, true, false}, 2},     // a layer only where nothing else is
        {{1.0f, -1.0f, 2.0f}, {true, true, true}, 1},       // among layers, the nearest
    };
    for (const PickCase& pickCase : cases) {
        std::vector<std::uint32_t> ids;
        for (std::size_t i = 0; i < 3; ++i) {
            ids.push_back(Place("O" + std::to_string(i), 0, 0, 50 + 10 * static_cast<float>(i), 50));
            TransformOf(ids.back()).z_pos = pickCase.depth[i];
            if (pickCase.layer[i])
                ComponentStore::Instance().AddComponent<Engine::Parallax>(ids.back());
        }
        ClickAt(640, 360);
        EXPECT_EQ(editor().selectedObject, static_cast<std::int32_t>(ids[static_cast<std::size_t>(pickCase.picked)]))
            << "case with object " << pickCase.picked << " in front";
        for (std::uint32_t id : ids)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
        View();
    }
}

TEST_F(GameView, AtThePlayViewAClickPicksWhatIsDrawnThere)
{
    // Play leaves the camera at 1920 x 1080 on the player: the picture shows two thirds of a
    // pixel per world unit, and the click must follow the picture, not the editor's zoom.
    Engine::Camera* camera = Engine::Camera::Instance();
    camera->viewWidth = 1920;
    camera->viewHeight = 1080;
    camera->eye[0] = 350;
    camera->eye[1] = 50;
    PlaceBody("Left", 200, 50, 40, 40);
    const std::uint32_t right = PlaceBody("Right", 500, 50, 40, 40);
    // 150 world units right of the eye: 100 pixels right of the display's centre.
    ClickAt(640 + 100, 360);
    EXPECT_EQ(editor().selectedObject, static_cast<std::int32_t>(right));
    EXPECT_FLOAT_EQ(Mapping().ScreenX(500), 740);
    EXPECT_FLOAT_EQ(Mapping().ScreenY(50 + 90), 300);
}

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
    EXPECT_EQ(editor().selectedObject, -1);  // the selection did not change
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

TEST_F(GameView, SnappingPutsTheLeftAndBottomEdgesOnGridLines)
{
    // The box reaches 10 left of and 10 below its position.
    struct SnapCase {
        float dragged;   // x and y the drag puts the object at, unsnapped
        float expected;  // x and y after the snap
    };
    const std::vector<SnapCase> cases = {
        {98.6f, 85.0f},    // left edge 88.6: 13.6 past the line at 75, the edge lands on it
        {-30.5f, -15.0f},  // left edge -40.5: the line at -25, towards zero
        {85.0f, 85.0f},    // edge on a grid line: unchanged
        {35.25f, 35.0f},   // edge at 25.25: on the line at 25, the fraction goes too
        {0.0f, 10.0f},     // left edge -10: the object moves right, the edge lands at 0
        {34.99999f, 35.0f},  // a hair short of the line at 25: on it, not on 0
    };
    editor().snapToGrid = true;
    const std::uint32_t id = PlaceBody("A", 0, 0);
    BodyOf(id).left = -10.0f;
    BodyOf(id).bottom = -10.0f;
    BodyOf(id).top = 30.0f;  // the top edge plays no part
    MoveMouse(640, 360);
    PressLeft(true);
    Frame([&] { editor().DragObject(id); });
    MoveMouse(700, 300);  // a drag along both axes
    // How far the drag moves the object, measured once without the snap.
    editor().snapToGrid = false;
    editor().dragAnchors[id] = {0.0f, 0.0f, 0.0f};
    Frame([&] { EXPECT_EQ(editor().DragObject(id), 1); });
    const float dx = TransformOf(id).x_pos;
    const float dy = TransformOf(id).y_pos;
    ASSERT_NE(dx, 0.0f);
    ASSERT_NE(dy, 0.0f);
    editor().snapToGrid = true;
    for (const SnapCase& snapCase : cases) {
        editor().dragAnchors[id] = {snapCase.dragged - dx, snapCase.dragged - dy, 0.0f};
        Frame([&] { EXPECT_EQ(editor().DragObject(id), 1); });
        EXPECT_NEAR(TransformOf(id).x_pos, snapCase.expected, 1e-3) << snapCase.dragged;
        EXPECT_NEAR(TransformOf(id).y_pos, snapCase.expected, 1e-3) << snapCase.dragged;
    }
}

// A purely horizontal drag leaves y exactly as it was, snapped or not.
TEST_F(GameView, AHorizontalDragKeepsYAsItWas)
{
    for (const bool snap : {false, true}) {
        editor().snapToGrid = snap;
        const std::uint32_t id = PlaceBody(snap ? "B" : "A", 0, 0);
        editor().dragAnchors[id] = {40.0f, 50.0f, 0.0f};
        MoveMouse(640, 360);
        PressLeft(true);
        Frame([&] { editor().DragObject(id); });
        MoveMouse(713, 360);
        Frame([&] { EXPECT_EQ(editor().DragObject(id), 1); });
        EXPECT_EQ(TransformOf(id).y_pos, 50.0f) << (snap ? "snapped" : "free");
        EXPECT_NE(TransformOf(id).x_pos, 40.0f);
        PressLeft(false);
        Frame([&] { editor().DragObject(id); });
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
    }
    EXPECT_FLOAT_EQ(TransformOf(editor().selection[0]).z_pos, 4.0f);  // drawn at its source's depth
    EXPECT_EQ(ComponentStore::Instance().GetComponent<Engine::Sprite>(editor().selection[0])->Texture, "Box.png");
    EXPECT_FLOAT_EQ(BodyOf(editor().selection[0]).right, 10.0f);

    // The duplicates follow the mouse; the sources stay.
    MoveMouse(Screen(-100, 0).x + 50, Screen(-100, 0).y);
    View();
    PressLeft(false);
    View();
    EXPECT_FLOAT_EQ(TransformOf(box).x_pos, 0.0f);
    EXPECT_NEAR(TransformOf(editor().selection[0]).x_pos, Mapping().WorldX(50) - Mapping().WorldX(0), 1e-3);
    EXPECT_FALSE(BodyOf(editor().selection[0]).Ghost);  // as solid as its source
}

TEST_F(GameView, ACopyOfAGhostIsStillAGhostAfterTheDrop)
{
    const std::uint32_t ghost = PlaceBody("DashOrb", 0, 0);
    BodyOf(ghost).Ghost = true;
    ClickAt(640, 360);  // picks it; the drop puts its flag back
    ASSERT_EQ(editor().selection, std::vector<std::uint32_t>{ghost});
    editor().ctrlHeld = true;
    DragLeft(ImVec2(640, 360), ImVec2(700, 360));
    ASSERT_EQ(editor().selection.size(), 1u);
    const std::uint32_t copy = editor().selection[0];
    EXPECT_NE(copy, ghost);
    EXPECT_TRUE(BodyOf(copy).Ghost);
    EXPECT_TRUE(BodyOf(ghost).Ghost);
    EXPECT_FALSE(editor().gameView.dragging);
}

// A copy is its source's Transform and Sprite; of the body it takes the edges, and its type,
// collider and weight are those of a new body.
TEST_F(GameView, ACopyTakesTheTransformAndSpriteWholeAndOnlyTheEdgesOfTheBody)
{
    const std::uint32_t box = PlaceBody("Box", 0, 0, 10, 20);
    TransformOf(box).rot = 0.5f;
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Sprite>(box);
    Engine::Sprite& sprite = *store.GetComponent<Engine::Sprite>(box);
    sprite.MeshIndex = 2;
    sprite.Color[2] = 0.25f;
    sprite.Texture = "Box.png";
    Engine::RigidBody& source = BodyOf(box);
    source.BodyType = 1;
    source.ColliderType = 1;
    source.Weight = 0.5f;
    editor().selection = {box};
    editor().ctrlHeld = true;

    MoveMouse(Screen(0, 0).x, Screen(0, 0).y);
    PressLeft(true);
    View();
    ASSERT_EQ(editor().selection.size(), 1u);
    const std::uint32_t copy = editor().selection[0];
    ASSERT_NE(copy, box);
    EXPECT_FLOAT_EQ(TransformOf(copy).x_sca, 10.0f);
    EXPECT_FLOAT_EQ(TransformOf(copy).y_sca, 20.0f);
    EXPECT_FLOAT_EQ(TransformOf(copy).rot, 0.5f);
    const Engine::Sprite& copySprite = *store.GetComponent<Engine::Sprite>(copy);
    EXPECT_EQ(copySprite.MeshIndex, 2);
    EXPECT_FLOAT_EQ(copySprite.Color[2], 0.25f);
    EXPECT_EQ(copySprite.Texture, "Box.png");
    const Engine::RigidBody& body = BodyOf(copy);
    EXPECT_FLOAT_EQ(body.left, -10.0f);
    EXPECT_FLOAT_EQ(body.top, 20.0f);
    EXPECT_FLOAT_EQ(body.right, 10.0f);
    EXPECT_FLOAT_EQ(body.bottom, -20.0f);
    EXPECT_EQ(body.BodyType, 0);
    EXPECT_EQ(body.ColliderType, 0);
    EXPECT_FLOAT_EQ(body.Weight, 0.0f);
    PressLeft(false);
    View();
}

TEST_F(GameView, NoDragOutlivesAnEmptySelection)
{
    // Ctrl and a click with nothing selected copies nothing and drags nothing: a rectangle
    // drawn next must leave what it catches where it is.
    const std::uint32_t a = PlaceBody("A", 0, 0);
    editor().ctrlHeld = true;
    ClickAt(640, 360);
    EXPECT_FALSE(editor().gameView.dragging);
    editor().ctrlHeld = false;
    DragLeft(ImVec2(500, 250), ImVec2(700, 450));
    EXPECT_EQ(editor().selection, std::vector<std::uint32_t>{a});
    EXPECT_FLOAT_EQ(TransformOf(a).x_pos, 0.0f);
    EXPECT_FLOAT_EQ(TransformOf(a).y_pos, 0.0f);

    // The selection deleted in the middle of a drag ends it.
    MoveMouse(640, 360);
    PressLeft(true);
    View();
    ASSERT_TRUE(editor().gameView.dragging);
    editor().selection.clear();
    View();
    EXPECT_FALSE(editor().gameView.dragging);
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

TEST_F(GameView, TheBannerShowsForTwoSecondsAfterASaveOnly)
{
    FrameDeltaTime = 1.0f;
    // Seen after each one-second frame: nothing without a save, however long.
    const auto secondsShown = [this](int seconds) {
        std::vector<int> shownAt;
        for (int second = 1; second <= seconds; ++second) {
            View();
            if (editor().savingBannerTimer <= 0.0f && editor().savingBannerTimer >= -2.0f)
                shownAt.push_back(second);
        }
        return shownAt;
    };
    EXPECT_EQ(secondsShown(250), std::vector<int>{});
    editor().savingBannerTimer = 0.0f;  // as a level save does
    EXPECT_EQ(secondsShown(250), (std::vector<int>{1, 2}));
}

}  // namespace EditorTest

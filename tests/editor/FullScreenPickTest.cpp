#include "EditorOnScreen.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "editor/Editor.h"

#include <algorithm>

namespace EditorTest {

namespace {

bool IsRed(const Rgba& p) { return p[0] > 200 && p[1] < 60 && p[2] < 60; }
bool IsBlack(const Rgba& p) { return p[0] < 40 && p[1] < 40 && p[2] < 40; }

}  // namespace

// At a full-screen 1920 x 1080 window the view is drawn half as large again: a click on the
// window pixels that show an object picks that object, and its outline lies over it.
TEST_F(EditorOnScreen, AClickInFullScreenPicksTheObjectDrawnThereAndOutlinesIt)
{
    Open(1920, 1080);
    ASSERT_TRUE(graphics->IsFullScreen());
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    table.CreateGameObject("Elsewhere");  // id 0, far from the click
    const std::uint32_t id = table.CreateGameObject("Target");
    for (std::uint32_t object : {0u, id}) {
        store.AddComponent<Engine::Transform>(object);
        store.AddComponent<Engine::Sprite>(object);
        auto* sprite = store.GetComponent<Engine::Sprite>(object);
        sprite->Texture = "Empty.png";  // white, so the tint shows alone
        std::copy_n(std::array{1.0f, 0.0f, 0.0f, 1.0f}.begin(), 4, sprite->Color);
    }
    auto* transform = store.GetComponent<Engine::Transform>(id);
    transform->x_pos = 150.0f;
    transform->y_pos = 40.0f;
    transform->x_sca = 40.0f;
    transform->y_sca = 30.0f;
    auto* elsewhere = store.GetComponent<Engine::Transform>(0);
    elsewhere->x_pos = -250.0f;
    elsewhere->y_pos = 150.0f;
    elsewhere->x_sca = 20.0f;
    elsewhere->y_sca = 20.0f;

    Frame();
    ASSERT_EQ(width, 1920);
    ASSERT_EQ(height, 1080);
    // The target is the red area right of the view's centre.
    int left = width, right = -1, top = height, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = width / 2; x < width; ++x)
            if (IsRed(At(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GT(right, left) << "the target is drawn";
    const int centreX = (left + right) / 2;
    const int centreY = (top + bottom) / 2;

    MoveMouse(centreX, centreY);
    Frame();
    Button(true);
    Frame();
    Button(false);
    Frame();
    Frame();
    EXPECT_EQ(Engine::Editor::Instance().selectedObject, static_cast<std::int32_t>(id));

    // The outline's two-pixel lines (three window pixels at this scale) lie on the drawn box's edges.
    auto blackNear = [this](int x, int y) {
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx)
                if (IsBlack(At(x + dx, y + dy)))
                    return true;
        return false;
    };
    EXPECT_TRUE(blackNear(left, centreY)) << "left edge at " << left;
    EXPECT_TRUE(blackNear(right, centreY)) << "right edge at " << right;
    EXPECT_TRUE(blackNear(centreX, top)) << "top edge at " << top;
    EXPECT_TRUE(blackNear(centreX, bottom)) << "bottom edge at " << bottom;
    EXPECT_FALSE(IsBlack(At(centreX, centreY))) << "the outline is not filled";
}

}  // namespace EditorTest

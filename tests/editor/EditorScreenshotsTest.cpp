// Pictures of the editor over "Level 1" with the player picked and a script open, for the
// README and for looking at the editor without a display. scripts/screenshots runs this
// test with VANTREL_SCREENSHOTS set; otherwise the pictures go to the test's home. The
// player is picked with a click on its pixels, and the pictures must show its outline
// around those pixels at the player's size.
#include "EditorOnScreen.h"

#include "TestSupport.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Sprite.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace EditorTest {

namespace {

// The smallest rectangle holding some pixels.
struct PixelArea {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    void Add(int x, int y)
    {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    bool Empty() const { return right < left || bottom < top; }
};

}  // namespace

TEST_F(EditorOnScreen, ScreenshotsOfTheEditorOverLevelOne)
{
    const char* folderSetting = std::getenv("VANTREL_SCREENSHOTS");
    const std::filesystem::path folder = folderSetting != nullptr ? std::filesystem::path(folderSetting)
                                                                  : TestSupport::TemporaryHome() / "screenshots";
    std::filesystem::create_directories(folder);

    Open(1280, 720);
    const auto Index = [this](int x, int y) { return static_cast<std::size_t>(y * width + x); };
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.LoadLevelNames();
    levels.LoadArchetypes();
    levels.LoadLevel("Level 1");
    const std::uint32_t player = Engine::GameObjectTable::Instance().FindGameObject("Player");
    ASSERT_NE(player, Engine::InvalidObjectId);
    const auto* transform = Engine::ComponentStore::Instance().GetComponent<Engine::Transform>(player);
    ASSERT_NE(transform, nullptr);

    // The camera on the player, "Jump.lua" open in the script editor.
    Engine::Camera* camera = Engine::Camera::Instance();
    camera->eye[0] = camera->position[0] = transform->x_pos;
    camera->eye[1] = camera->position[1] = transform->y_pos;
    Engine::Editor& editor = Engine::Editor::Instance();
    editor.currentScript = "Jump.lua";
    editor.textEditor.SetText(TestSupport::ReadFile("Resources/Scripts/Jump.lua"));
    const auto& names = editor.scriptNames;
    editor.openedScriptIndex = static_cast<std::int32_t>(std::find(names.begin(), names.end(), "Jump.lua") - names.begin());

    // Where the player shows: the pixels that change when it is not drawn.
    MoveMouse(5, 5);
    for (int frame = 0; frame < 3; ++frame)
        Frame();
    auto* sprite = Engine::ComponentStore::Instance().GetComponent<Engine::Sprite>(player);
    ASSERT_NE(sprite, nullptr);
    const std::vector<Rgba> shown = Frame();
    sprite->Color[3] = 0.0f;
    const std::vector<Rgba> hidden = Frame();
    sprite->Color[3] = 1.0f;
    PixelArea drawn;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (shown[Index(x, y)] != hidden[Index(x, y)])
                drawn.Add(x, y);
    ASSERT_FALSE(drawn.Empty()) << "the player is drawn";

    // A click on the player's middle picks it; the frames before and after differ by its outline.
    const std::vector<Rgba> unpicked = Frame();
    MoveMouse((drawn.left + drawn.right) / 2, (drawn.top + drawn.bottom) / 2);
    Frame();
    Button(true);
    Frame();
    Button(false);
    Frame();
    const std::vector<Rgba> picked = Frame();
    ASSERT_EQ(editor.selectedObject, static_cast<std::int32_t>(player));
    // The outline's sides: the columns and rows of the game view with a long run of pixels
    // that turned black (the name above it is far shorter).
    std::vector<int> blackInColumn(static_cast<std::size_t>(width)), blackInRow(static_cast<std::size_t>(height));
    for (int y = 20; y < 620; ++y)
        for (int x = 250; x < 780; ++x) {
            const Rgba& p = picked[Index(x, y)];
            if (p != unpicked[Index(x, y)] && p[0] < 40 && p[1] < 40 && p[2] < 40) {
                ++blackInColumn[static_cast<std::size_t>(x)];
                ++blackInRow[static_cast<std::size_t>(y)];
            }
        }
    PixelArea sides;
    PixelArea lids;
    for (int x = 0; x < width; ++x)
        if (blackInColumn[static_cast<std::size_t>(x)] >= 50)
            sides.Add(x, 0);
    for (int y = 0; y < height; ++y)
        if (blackInRow[static_cast<std::size_t>(y)] >= 50)
            lids.Add(0, y);
    PixelArea outline;
    outline.Add(sides.left, lids.top);
    outline.Add(sides.right, lids.bottom);
    ASSERT_FALSE(outline.Empty()) << "the outline is drawn";
    // Around the drawn pixels, at the size of the player's box in this view.
    EXPECT_LE(outline.left, drawn.left);
    EXPECT_GE(outline.right, drawn.right);
    EXPECT_LE(outline.top, drawn.top);
    EXPECT_GE(outline.bottom, drawn.bottom);
    EXPECT_NEAR(outline.right - outline.left, 2.0f * transform->x_sca * 1280.0f / camera->viewWidth, 3.0f);
    EXPECT_NEAR(outline.bottom - outline.top, 2.0f * transform->y_sca * 720.0f / camera->viewHeight, 3.0f);

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

// The editor opened over "Level 1" in the middle of play, as a level designer meets it: the
// camera left at the play view, the mouse through the game's own window and message pump.
// Clicks on the pixels that show the player, a sign and a ground block pick each of them;
// a click on open sky picks no play object. Also at another zoom and camera place. Keys
// pressed while the editor is open stay in the editor.
#include "GameDriver.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Parallax.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "game/GameState.h"
#include "graphics/Camera.h"
#include "platform/Letterbox.h"
#include "platform/UiLayer.h"
#include "scripting/ScriptManager.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using EndToEnd::GameDriver;
using Pixels = std::vector<std::array<std::uint8_t, 4>>;

// The see-through "Game" window of the editor's first layout, where clicks reach the scene.
constexpr int GameLeft = 250, GameTop = 20, GameRight = 780, GameBottom = 620;

std::uint32_t Id(const char* name) { return Engine::GameObjectTable::Instance().FindGameObject(name); }

class EditorOverPlay : public testing::Test {
protected:
    // From the splash through the main menu into "Level 1", a second of play, then the
    // editor opened with its key.
    void SetUp() override
    {
        driver.Frames(2);
        ASSERT_TRUE(driver.FramesUntil([] { return Engine::LevelManager::Instance().currentLevel == "Main Menu"
                                                   || Id("Splash") == Engine::InvalidObjectId; },
                                       400));
        for (int i = 0; i < 3 && Engine::LevelManager::Instance().currentLevel != "Level 1"; ++i) {
            driver.Tap(SDLK_RETURN);
            driver.Frames(3);
        }
        ASSERT_EQ(Engine::LevelManager::Instance().currentLevel, "Level 1");
        driver.Frames(60);
        const Engine::Camera* camera = Engine::Camera::Instance();
        ASSERT_FLOAT_EQ(camera->viewWidth, 1920.0f) << "the play view";
        ASSERT_FLOAT_EQ(camera->viewHeight, 1080.0f);
        driver.game().debugEnabled = 1;
        driver.Tap(SDLK_BACKQUOTE);
        ASSERT_EQ(driver.game().editorActive, 1);
        driver.Frames(2);
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(driver.game().window.Handle(), &width, &height);
        driver.WorldPixels(pictureWidth, pictureHeight);
        // The picture is fitted into the (full-screen) window between bars, as the player sees it.
        box = Platform::Letterbox::Fit(width, height, pictureWidth, pictureHeight);
        ASSERT_GT(box.width, 0);
    }

    Pixels Picture()
    {
        driver.Frames(1);
        return driver.WorldPixels(pictureWidth, pictureHeight);
    }

    // The game-view pixels that change when the object is not drawn: where it shows.
    std::vector<std::pair<int, int>> PixelsShowing(std::uint32_t id)
    {
        auto* sprite = Engine::ComponentStore::Instance().GetComponent<Engine::Sprite>(id);
        EXPECT_NE(sprite, nullptr);
        if (sprite == nullptr)
            return {};
        const Pixels with = Picture();
        const float alpha = sprite->Color[3];
        sprite->Color[3] = 0.0f;
        const Pixels without = Picture();
        sprite->Color[3] = alpha;
        std::vector<std::pair<int, int>> shown;
        for (int y = GameTop; y < GameBottom; ++y)
            for (int x = GameLeft; x < GameRight; ++x) {
                const auto at = static_cast<std::size_t>(y * pictureWidth + x);
                if (with[at] != without[at])
                    shown.emplace_back(x, y);
            }
        return shown;
    }

    // A pixel where the object shows, the nearest to the middle of all of them.
    std::optional<std::pair<int, int>> PixelOf(std::uint32_t id)
    {
        const std::vector<std::pair<int, int>> shown = PixelsShowing(id);
        if (shown.empty())
            return std::nullopt;
        double mx = 0, my = 0;
        for (const auto& [x, y] : shown) {
            mx += x;
            my += y;
        }
        mx /= static_cast<double>(shown.size());
        my /= static_cast<double>(shown.size());
        std::pair<int, int> best = shown.front();
        double bestDistance = 1e18;
        for (const auto& [x, y] : shown) {
            const double d = (x - mx) * (x - mx) + (y - my) * (y - my);
            if (d < bestDistance) {
                bestDistance = d;
                best = {x, y};
            }
        }
        return best;
    }

    // The window pixel that shows a picture pixel.
    void MoveTo(std::pair<int, int> picture)
    {
        driver.MoveMouse(box.left + static_cast<int>((static_cast<float>(picture.first) + 0.5f) * box.scaleX),
                         box.top + static_cast<int>((static_cast<float>(picture.second) + 0.5f) * box.scaleY));
    }

    void Click(std::pair<int, int> at)
    {
        MoveTo(at);
        driver.Frames(1);
        driver.MouseButton(true, true);
        driver.Frames(1);
        driver.MouseButton(true, false);
        driver.Frames(2);
    }

    void ExpectPickedAtItsPixels(const char* name)
    {
        const std::uint32_t id = Id(name);
        ASSERT_NE(id, Engine::InvalidObjectId) << name;
        const std::optional<std::pair<int, int>> at = PixelOf(id);
        ASSERT_TRUE(at.has_value()) << name << " shows in the game view";
        Click(*at);
        EXPECT_EQ(Engine::Editor::Instance().selectedObject, static_cast<std::int32_t>(id))
            << name << " at pixel " << at->first << ", " << at->second;
    }

    GameDriver driver;
    int pictureWidth = 0;
    int pictureHeight = 0;
    Platform::Letterbox box;
};

}  // namespace

TEST_F(EditorOverPlay, ClicksPickThePlayerASignAGroundBlockAndNothingInTheSky)
{
    ExpectPickedAtItsPixels("Player");

    // Two wheel notches out over the game view (the view grows to 1.4 x 1280 by 720), and
    // the camera a little right, as the object list's travel would take it, so that the
    // player, the first sign and the ground show in the game view together.
    MoveTo({500, 300});
    driver.Frames(1);
    for (int notch = 0; notch < 2; ++notch) {
        driver.Wheel(-1);
        driver.Frames(1);
    }
    Engine::Camera* camera = Engine::Camera::Instance();
    ASSERT_NEAR(camera->viewWidth, 1.4f * 1280.0f, 0.01f);
    camera->eye[0] = camera->position[0] = 600.0f;
    ExpectPickedAtItsPixels("Player");
    ExpectPickedAtItsPixels("DSign001");
    ExpectPickedAtItsPixels("EAGroundTop008");

    // Open sky: a game-view pixel over which only parallax layers lie.
    Engine::ComponentStore& store = Engine::ComponentStore::Instance();
    auto onlyLayersAt = [&](int px, int py) {
        const float wx = camera->eye[0] + (static_cast<float>(px) - pictureWidth * 0.5f) * camera->viewWidth / pictureWidth;
        const float wy = camera->eye[1] - (static_cast<float>(py) - pictureHeight * 0.5f) * camera->viewHeight / pictureHeight;
        for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id) {
            const auto* t = store.GetComponent<Engine::Transform>(id);
            if (t != nullptr && store.GetComponent<Engine::Parallax>(id) == nullptr && std::abs(wx - t->x_pos) <= t->x_sca + 5
                && std::abs(wy - t->y_pos) <= t->y_sca + 5)
                return false;
        }
        return true;
    };
    std::optional<std::pair<int, int>> sky;
    for (int y = GameTop + 10; y < GameBottom && !sky; y += 10)
        for (int x = GameLeft + 10; x < GameRight && !sky; x += 10)
            if (onlyLayersAt(x, y))
                sky = std::pair{x, y};
    ASSERT_TRUE(sky.has_value());
    const std::vector<std::pair<int, int>> skyPixels = PixelsShowing(Id("BSky001"));
    EXPECT_NE(std::find(skyPixels.begin(), skyPixels.end(), *sky), skyPixels.end()) << "the sky shows there";
    Click(*sky);
    const std::int32_t picked = Engine::Editor::Instance().selectedObject;
    EXPECT_TRUE(picked == -1 || picked == static_cast<std::int32_t>(Id("BSky001"))) << "picked object " << picked;
}

// With the inspector clicked, so that no text field takes the keyboard, the game's jump keys
// and Ctrl+Z run no binding and queue nothing, and closing the editor makes no jump.
TEST_F(EditorOverPlay, KeysPressedInTheEditorNeverReachTheGame)
{
    ImGuiWindow* inspector = ImGui::FindWindowByName("Inspector");
    ASSERT_NE(inspector, nullptr);
    const Platform::Letterbox ui = Platform::UiLayer::Active()->CurrentLetterbox();
    driver.MoveMouse(ui.left + static_cast<int>((inspector->Pos.x + inspector->Size.x * 0.5f) * ui.scaleX),
                     ui.top + static_cast<int>((inspector->Pos.y + inspector->Size.y * 0.8f) * ui.scaleY));
    driver.Frames(1);
    driver.MouseButton(true, true);
    driver.Frames(1);
    driver.MouseButton(true, false);
    driver.Frames(2);
    ASSERT_EQ(ImGui::GetCurrentContext()->NavWindow, inspector) << "the inspector has the focus";
    ASSERT_FALSE(ImGui::GetIO().WantCaptureKeyboard) << "no text field holds the keyboard";

    const std::size_t logBefore = EndToEnd::LogText().size();
    for (SDL_Keycode key : {SDLK_w, SDLK_j, SDLK_SPACE, SDLK_x, SDLK_c})
        driver.Tap(key);
    driver.Down(SDLK_LCTRL);
    driver.Tap(SDLK_z);
    driver.Up(SDLK_LCTRL);
    driver.Frames(2);
    const std::string pressed = EndToEnd::LogText().substr(logBefore);
    EXPECT_EQ(pressed.find("Running Key Pressed Function"), std::string::npos) << pressed;
    const auto& queued = Engine::GetSystem<Engine::ScriptManager>()->runList;
    for (const char* script : {"Jump", "AirDash", "WaterSkill"})
        EXPECT_EQ(std::count(queued.begin(), queued.end(), script), 0) << script;

    const std::size_t logAtClose = EndToEnd::LogText().size();
    driver.Tap(SDLK_BACKQUOTE);
    ASSERT_EQ(driver.game().editorActive, 0);
    driver.Frames(30);
    const std::string afterClose = EndToEnd::LogText().substr(logAtClose);
    EXPECT_EQ(afterClose.find("Player_Jump"), std::string::npos) << afterClose;
}

// The UI drawn over the world: its windows cover the world's pixels, and at any window size
// the UI's view coordinates, the world pixels shown there and the mouse all agree.
#include "RenderFixture.h"

#include "core/GameObjectTable.h"
#include "platform/Window.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

using namespace RenderTest;

namespace {

constexpr Rgba Ochre = {200, 100, 50, 255};

bool Near(const Rgba& actual, const Rgba& expected)
{
    for (std::size_t i = 0; i < 3; ++i)
        if (std::abs(actual[i] - expected[i]) > 2)
            return false;
    return true;
}

std::string Show(const Rgba& colour)
{
    return std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," + std::to_string(colour[2]);
}

// The smallest rectangle of window pixels that pass the test: left, top, right, bottom (inclusive).
struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
};

template <typename Test>
Box Bounds(const std::vector<Rgba>& pixels, int width, int height, Test test)
{
    Box box;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (test(pixels[static_cast<std::size_t>(y * width + x)])) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

class UiOverWorld : public RenderFixture {
protected:
    void Start()
    {
        WritePng(imageFolder / "debug.png", 2, 2, Rgba{255, 0, 255, 255});
        WritePng(imageFolder / "ochre.png", 2, 2, Ochre);
        WritePng(imageFolder / "red.png", 2, 2, Rgba{255, 0, 0, 255});
        StartGraphics();
        ASSERT_TRUE(graphics->IsReady());
        ImGui::GetIO().IniFilename = nullptr;  // keep the test from writing a layout file
    }

    // One frame of world and UI, read back before it is presented.
    std::vector<Rgba> Frame(void (*drawUi)(), int& width, int& height)
    {
        graphics->NewUiFrame();
        drawUi();
        graphics->Render();
        graphics->RenderUi();
        std::vector<Rgba> pixels = ReadWindow(width, height);
        graphics->Present();
        return pixels;
    }
};

}  // namespace

TEST_F(UiOverWorld, AUiWindowCoversTheWorldWhereItStands)
{
    Start();
    AddSprite(0, 0, 10, 640, 360, "ochre.png");  // the whole view
    auto drawWindow = [] {
        ImGui::GetStyle().WindowBorderSize = 0.0f;
        ImGui::PushStyleColor(ImGuiCol_WindowBg, ImVec4(0.0f, 0.0f, 1.0f, 1.0f));
        ImGui::SetNextWindowPos(ImVec2(100, 100));
        ImGui::SetNextWindowSize(ImVec2(300, 200));
        ImGui::Begin("Log", nullptr, ImGuiWindowFlags_NoDecoration);
        ImGui::TextUnformatted("Graphics Initialized");
        ImGui::End();
        ImGui::PopStyleColor();
    };
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;
    for (int frame = 0; frame < 2; ++frame)
        pixels = Frame(drawWindow, width, height);
    ASSERT_EQ(width, 1280);
    EXPECT_GT(ImGui::GetDrawData()->TotalVtxCount, 0);
    struct Probe {
        int x, y;
        Rgba colour;
        const char* what;
    };
    const Probe probes[] = {
        {380, 280, Rgba{0, 0, 255, 255}, "inside the window, below its text"},
        {101, 101, Rgba{0, 0, 255, 255}, "the window's top-left corner"},
        {98, 98, Ochre, "just outside the window's corner"},
        {402, 302, Ochre, "just outside the opposite corner"},
        {640, 600, Ochre, "far from the window"},
    };
    for (const Probe& probe : probes)
        EXPECT_TRUE(Near(pixels[static_cast<std::size_t>(probe.y * width + probe.x)], probe.colour))
            << probe.what << ": " << Show(pixels[static_cast<std::size_t>(probe.y * width + probe.x)]);
}

// A rectangle of view coordinates drawn by the UI lands on the window pixels that show the
// world there, and the mouse over those pixels is inside the rectangle in view coordinates.
TEST_F(UiOverWorld, UiWorldAndMouseAgreeAtEveryWindowSize)
{
    struct Case {
        int width, height;
    };
    const Case cases[] = {{1920, 1080}, {1366, 768}, {1280, 1024}, {1600, 720}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        ReopenWindow(c.width, c.height);
        Start();
        // View rectangle x 400 .. 600, y 200 .. 300 from the top-left; the world has y up
        // and its origin at the view's centre.
        AddSprite(500 - 640, 360 - 250, 10, 100, 50, "red.png");
        int width = 0;
        int height = 0;
        const std::vector<Rgba> world = Frame([] {}, width, height);
        ASSERT_EQ(width, c.width);
        const std::vector<Rgba> withUi = Frame(
            [] { ImGui::GetForegroundDrawList()->AddRectFilled(ImVec2(400, 200), ImVec2(600, 300), IM_COL32(0, 0, 255, 255)); },
            width, height);

        const Box red = Bounds(world, width, height, [](const Rgba& p) { return p[0] > 200 && p[1] < 60 && p[2] < 60; });
        const Box blue = Bounds(withUi, width, height, [](const Rgba& p) { return p[0] < 60 && p[1] < 60 && p[2] > 200; });
        ASSERT_GE(red.right, red.left) << "the world's rectangle is on the window";
        ASSERT_GE(blue.right, blue.left) << "the UI's rectangle is on the window";
        EXPECT_LE(std::abs(red.left - blue.left), 1);
        EXPECT_LE(std::abs(red.right - blue.right), 1);
        EXPECT_LE(std::abs(red.top - blue.top), 1);
        EXPECT_LE(std::abs(red.bottom - blue.bottom), 1);
        // Outside the view the bars stay black; at each of these sizes with bars the
        // bottom-right pixel lies in one.
        if (c.height * 1280 != c.width * 720) {
            EXPECT_TRUE(Near(world.back(), Rgba{0, 0, 0, 255})) << Show(world.back());
        }

        // The mouse over the corners of the world's rectangle is at its corners in view units.
        struct Point {
            int x, y;
            float viewX, viewY;
        };
        const Point points[] = {{red.left, red.top, 400, 200}, {red.right, red.bottom, 600, 300},
                                {(red.left + red.right) / 2, (red.top + red.bottom) / 2, 500, 250}};
        const float scale = std::min(static_cast<float>(c.width) / 1280.0f, static_cast<float>(c.height) / 720.0f);
        for (const Point& point : points) {
            SDL_Event motion{};
            motion.motion.type = SDL_MOUSEMOTION;
            motion.motion.windowID = SDL_GetWindowID(window);
            motion.motion.x = point.x;
            motion.motion.y = point.y;
            ASSERT_EQ(SDL_PushEvent(&motion), 1);
            ASSERT_TRUE(Window::PumpMessages());
            graphics->NewUiFrame();
            const ImVec2 mouse = ImGui::GetIO().MousePos;
            EXPECT_LE(std::fabs(mouse.x - point.viewX), 1.5f / scale) << "window x " << point.x << " at view x " << mouse.x;
            EXPECT_LE(std::fabs(mouse.y - point.viewY), 1.5f / scale) << "window y " << point.y << " at view y " << mouse.y;
            if (point.viewX == 500) {
                EXPECT_TRUE(ImGui::IsMouseHoveringRect(ImVec2(400, 200), ImVec2(600, 300), false));
            }
            graphics->RenderUi();
        }

        graphics.reset();
        Engine::GameObjectTable::Instance().RemoveGameObject(0);
        std::filesystem::remove_all(imageFolder);
        std::filesystem::create_directories(imageFolder);
    }
}

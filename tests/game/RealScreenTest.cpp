// The game on a real X server whose screen is larger than its window, as on an ordinary
// desktop: the picture read back from the X window itself shows the whole 1280 x 720 view,
// at start-up (full screen asked for, no window manager to grant it), after a resize, and
// back in full screen. scripts/test starts the X server (Xvfb, 1920 x 1080) and names it in
// VANTREL_TEST_X_DISPLAY; without it the test is skipped.
#include "GameDriver.h"

#include "game/GameState.h"
#include "platform/UiLayer.h"

#include "XWindowPixels.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using Picture = EndToEnd::XPicture;

// The mean difference per channel between `shown` and the reference scaled into the
// letterbox of `shown`; the bars must be black.
double DifferenceFromLetterboxed(const Picture& shown, const Picture& reference, int& barPixelsNotBlack)
{
    const double scale = std::min(static_cast<double>(shown.width) / reference.width,
                                  static_cast<double>(shown.height) / reference.height);
    const int boxWidth = static_cast<int>(std::lround(reference.width * scale));
    const int boxHeight = static_cast<int>(std::lround(reference.height * scale));
    const int left = (shown.width - boxWidth) / 2;
    const int top = (shown.height - boxHeight) / 2;
    double sum = 0.0;
    long count = 0;
    barPixelsNotBlack = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x) {
            const auto& pixel = shown.At(x, y);
            const bool inBox = x >= left && x < left + boxWidth && y >= top && y < top + boxHeight;
            if (!inBox) {
                barPixelsNotBlack += pixel[0] + pixel[1] + pixel[2] > 0 ? 1 : 0;
                continue;
            }
            const int rx = std::min(reference.width - 1, static_cast<int>((x - left + 0.5) / scale));
            const int ry = std::min(reference.height - 1, static_cast<int>((y - top + 0.5) / scale));
            const auto& expected = reference.At(rx, ry);
            for (int c = 0; c < 3; ++c)
                sum += std::abs(pixel[static_cast<std::size_t>(c)] - expected[static_cast<std::size_t>(c)]);
            count += 3;
        }
    return count > 0 ? sum / static_cast<double>(count) : 255.0;
}

class RealScreen : public testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("VANTREL_TEST_X_DISPLAY");
        if (display == nullptr || *display == '\0')
            GTEST_SKIP() << "no X server named in VANTREL_TEST_X_DISPLAY (scripts/test starts one)";
        setenv("DISPLAY", display, 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        driver = std::make_unique<EndToEnd::GameDriver>();
        ASSERT_TRUE(driver->FramesUntil([] { return GameStateIndex == 1; }, 400));
        driver->Frames(3);
    }

    Picture Shown()
    {
        driver->Frames(2);
        std::optional<Picture> picture = EndToEnd::ReadXWindow(driver->game().window.Handle());
        EXPECT_TRUE(picture.has_value());
        return picture.value_or(Picture{});
    }

    std::unique_ptr<EndToEnd::GameDriver> driver;
};

TEST_F(RealScreen, TheWholeViewShowsAtStartAfterAResizeAndInFullScreen)
{
    const Picture atStart = Shown();  // full screen asked for, nobody to answer
    // The mouse maps through the same real size: the window's middle is the view's.
    float viewX = 0.0f;
    float viewY = 0.0f;
    Platform::UiLayer::Active()->WindowToView(atStart.width / 2, atStart.height / 2, viewX, viewY);
    EXPECT_NEAR(viewX, 640.0f, 1.0f);
    EXPECT_NEAR(viewY, 360.0f, 1.0f);

    // The reference: the window and its drawable at exactly the view's size.
    driver->game().fullscreen = 0;
    driver->game().graphics.SetFullScreen(false);
    SDL_SetWindowSize(driver->game().window.Handle(), 1280, 720);
    const Picture reference = Shown();
    ASSERT_EQ(reference.width, 1280);
    ASSERT_EQ(reference.height, 720);

    int bars = 0;
    EXPECT_LT(DifferenceFromLetterboxed(atStart, reference, bars), 2.0) << atStart.width << " x " << atStart.height;
    EXPECT_EQ(bars, 0);

    SDL_SetWindowSize(driver->game().window.Handle(), 900, 700);  // bars above and below
    const Picture resized = Shown();
    ASSERT_EQ(resized.width, 900);
    EXPECT_LT(DifferenceFromLetterboxed(resized, reference, bars), 12.0);
    EXPECT_EQ(bars, 0);

    driver->game().fullscreen = 1;
    driver->game().graphics.SetFullScreen(true);
    const Picture full = Shown();
    EXPECT_LT(DifferenceFromLetterboxed(full, reference, bars), 12.0) << full.width << " x " << full.height;
    EXPECT_EQ(bars, 0);
}

}  // namespace

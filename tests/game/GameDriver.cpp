#include "GameDriver.h"

#include "TestSupport.h"
#include "core/GameClock.h"
#include "core/Log.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <vector>

namespace EndToEnd {

GameDriver::GameDriver()
{
    // The enemies' shots are timed on the game clock: on the simulated one, a replay meets
    // the same bullets however fast the machine runs it.
    Engine::GameClock::Set([this] { return Engine::GameClock::TimePoint(std::chrono::nanoseconds(now)); });
    Engine::FrameClock clock{[this] { return now; }, [this](std::int64_t nanoseconds) {
                                 now += nanoseconds;
                                 if (endBySleep)
                                     instance->running = 0;
                             }};
    instance = std::make_unique<Game>(std::move(clock));
    if (ImGui::GetCurrentContext() != nullptr)
        ImGui::GetIO().IniFilename = nullptr;  // leave the working folder's imgui.ini alone
    // Whatever the window system queued while the window opened is not part of a test.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

GameDriver::~GameDriver() { Engine::GameClock::Set({}); }

void GameDriver::Frames(int count)
{
    for (int i = 0; i < count; ++i) {
        // A quit event ends the game's loop after one whole frame; the clock stands still
        // within the frame, so the loop sleeps the whole budget and every frame is 1/60 s.
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
        instance->running = 1;
        instance->Run();
        ++frame;
    }
}

void GameDriver::QuietFrames(int count)
{
    endBySleep = true;
    for (int i = 0; i < count; ++i) {
        instance->running = 1;
        instance->Run();
        ++frame;
    }
    endBySleep = false;
}

namespace {
void PushKey(Uint32 type, SDL_Keycode key)
{
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    SDL_PushEvent(&event);
}
}  // namespace

void GameDriver::Down(SDL_Keycode key) { PushKey(SDL_KEYDOWN, key); }
void GameDriver::Up(SDL_Keycode key) { PushKey(SDL_KEYUP, key); }

void GameDriver::Tap(SDL_Keycode key)
{
    Down(key);
    Frames(1);
    Up(key);
    Frames(1);
}

void GameDriver::QuickTap(SDL_Keycode key)
{
    Down(key);
    Up(key);
    Frames(1);
}

bool GameDriver::FramesUntil(const std::function<bool()>& done, int most)
{
    for (int i = 0; i < most; ++i) {
        if (done())
            return true;
        Frames(1);
    }
    return done();
}

std::vector<std::array<std::uint8_t, 4>> GameDriver::WorldPixels(int& width, int& height) const
{
    const Graphics& graphics = instance->graphics;
    width = graphics.device.targetWidth;
    height = graphics.device.targetHeight;
    std::vector<std::array<std::uint8_t, 4>> bottomUp(static_cast<std::size_t>(width * height));
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, graphics.device.WorldFramebuffer());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::array<std::uint8_t, 4>> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::copy_n(bottomUp.begin() + static_cast<std::ptrdiff_t>((height - 1 - y) * width), width,
                    topDown.begin() + static_cast<std::ptrdiff_t>(y * width));
    for (auto& pixel : topDown)
        pixel[3] = 255;
    return topDown;
}

void GameDriver::Screenshot(const std::filesystem::path& path) const
{
    int width = 0;
    int height = 0;
    const std::vector<std::array<std::uint8_t, 4>> pixels = WorldPixels(width, height);
    std::filesystem::create_directories(path.parent_path());
    EXPECT_NE(stbi_write_png(path.string().c_str(), width, height, 4, pixels.data(), width * 4), 0) << path;
}

void GameDriver::MoveMouse(int x, int y)
{
    mouseX = x;
    mouseY = y;
    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(instance->window.Handle());
    motion.motion.x = x;
    motion.motion.y = y;
    SDL_PushEvent(&motion);
}

void GameDriver::Wheel(int notches)
{
    SDL_Event wheel{};
    wheel.wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = SDL_GetWindowID(instance->window.Handle());
    wheel.wheel.y = notches;
    wheel.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&wheel);
}

void GameDriver::MouseButton(bool left, bool down)
{
    SDL_Event button{};
    button.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    button.button.windowID = SDL_GetWindowID(instance->window.Handle());
    button.button.button = left ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    button.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    button.button.clicks = 1;
    button.button.x = mouseX;
    button.button.y = mouseY;
    SDL_PushEvent(&button);
}

std::string LogText()
{
    FlushLog();
    return TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt");
}

std::vector<std::string> ErrorLines()
{
    std::vector<std::string> lines;
    std::istringstream text(LogText());
    for (std::string line; std::getline(text, line);)
        if (line.find("] [error] ") != std::string::npos)
            lines.push_back(line);
    return lines;
}

}  // namespace EndToEnd

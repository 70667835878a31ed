#include "GameDriver.h"

#include "TestSupport.h"
#include "core/GameClock.h"
#include "core/Log.h"

#include <epoxy/gl.h>
#include <gtest/gtest.h>
#include <imgui.h>
#include <stb_image_write.h>

#include <chrono>
#include <sstream>
#include <vector>

namespace EndToEnd {

GameDriver::GameDriver()
{
    // The enemies' shots are timed on the game clock: on the simulated one, a replay meets
    // the same bullets however fast the machine runs it.
    Engine::GameClock::Set([this] { return Engine::GameClock::TimePoint(std::chrono::nanoseconds(now)); });
    Engine::FrameClock clock{[this] { return now; }, [this](std::int64_t nanoseconds) { now += nanoseconds; }};
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

bool GameDriver::FramesUntil(const std::function<bool()>& done, int most)
{
    for (int i = 0; i < most; ++i) {
        if (done())
            return true;
        Frames(1);
    }
    return done();
}

void GameDriver::Screenshot(const std::filesystem::path& path) const
{
    const Graphics& graphics = instance->graphics;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(graphics.device.targetWidth * graphics.device.targetHeight * 4));
    glFinish();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, graphics.device.WorldFramebuffer());
    glReadPixels(0, 0, graphics.device.targetWidth, graphics.device.targetHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
    std::filesystem::create_directories(path.parent_path());
    stbi_flip_vertically_on_write(1);
    EXPECT_NE(stbi_write_png(path.string().c_str(), graphics.device.targetWidth, graphics.device.targetHeight, 4, pixels.data(),
                             graphics.device.targetWidth * 4),
              0)
        << path;
    stbi_flip_vertically_on_write(0);
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

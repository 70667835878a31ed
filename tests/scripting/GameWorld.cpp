#include "GameWorld.h"

#include "core/FrameTime.h"
#include "core/SystemManager.h"

#include <algorithm>
#include <filesystem>

namespace ScriptTest {

namespace {
// Runs before the registry starts, so that the sound service finds the banks at its Init.
ScriptFolder& Prepared(ScriptFolder& folder, GameWorld::Options options)
{
    const std::filesystem::path shipped = std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources";
    if (options.sound)
        std::filesystem::create_directory_symlink(shipped / "Audio", folder.root / "Resources" / "Audio");
    if (options.levels)
        std::filesystem::create_directory_symlink(shipped / "Levels", folder.root / "Resources" / "Levels");
    if (options.shippedScripts)
        std::filesystem::copy(shipped / "Scripts", folder.root / "Resources" / "Scripts");
    return folder;
}
}  // namespace

GameWorld::GameWorld(std::initializer_list<const char*> fixtures) : GameWorld(fixtures, Options{}) {}

GameWorld::GameWorld(std::initializer_list<const char*> fixtures, Options options)
    : folder(fixtures),
      scripts((Prepared(folder, options), *Engine::GetSystem<Engine::ScriptManager>())),
      timers(*Engine::GetSystem<Engine::TimerDatabase>())
{
    AddReportFunction(scripts.lua);
    timers.clock = [this] { return clockNanoseconds; };
    timers.lastTime = clockNanoseconds;
}

void GameWorld::Run(const std::string& handle, std::uint32_t objectId)
{
    scripts.Queue(handle, objectId);
    scripts.Update();
}

void GameWorld::AdvanceTimers(std::int64_t milliseconds)
{
    clockNanoseconds += milliseconds * 1'000'000;
    timers.Update();
}

void GameWorld::RunFrames(int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        clockNanoseconds += 16'666'666;
        FrameDeltaTime = 1.0f / 60.0f;
        Engine::SystemManager::Instance().Update();
    }
}

void GameWorld::ReloadAll()
{
    scripts.ReloadAll();
    AddReportFunction(scripts.lua);
}

bool GameWorld::LoggedContaining(spdlog::level::level_enum level, const std::string& text) const
{
    return std::any_of(folder.Lines().begin(), folder.Lines().end(), [&](const LogLine& line) {
        return line.level == level && line.text.find(text) != std::string::npos;
    });
}

}  // namespace ScriptTest

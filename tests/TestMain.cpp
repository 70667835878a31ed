// Test entry point: every test process gets its own temporary HOME so that nothing
// the engine writes (log, leaderboard) reaches the real home folder. Started for more than
// one test, the executable runs each in a process of its own, as ctest does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <system_error>

#include "TestProcesses.h"
#include "TestSupport.h"
#include "core/SystemManager.h"
#include "game/GameSystems.h"
#include "game/LevelRoutes.h"

namespace TestSupport {
void SetTemporaryHome(const std::filesystem::path& home);
}

int main(int argc, char** argv)
{
    // The engine's singletons live for the whole process, so tests never share one.
    if (const auto status = TestSupport::RunEachTestInItsOwnProcess({argv, argv + argc}))
        return *status;

    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
    const char* home = mkdtemp(pattern.data());
    if (home == nullptr)
        return 2;
    setenv("HOME", home, 1);
    unsetenv("XDG_DOCUMENTS_DIR");
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TestSupport::SetTemporaryHome(home);
    // The registry gets the game's systems wherever a test first reaches it, and level loads
    // their effects, as in the game.
    Engine::SystemManager::UseSystemList(&Engine::AddGameSystems);
    Engine::InstallLevelRoutes();

    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();

    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}

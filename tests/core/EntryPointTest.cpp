// The real program, run as a user runs it: a start-up that fails ends it with status 1 and a
// line on standard error, besides the log.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

struct GameRun {
    int status = -1;
    std::string standardError;
    std::string log;
};

GameRun RunGame(const std::filesystem::path& workingFolder, const std::string& videoDriver)
{
    const std::filesystem::path home = TestSupport::TemporaryHome();
    const std::filesystem::path errors = home / "stderr.txt";
    const std::string command = "cd '" + workingFolder.string() + "' && env -u XDG_DOCUMENTS_DIR HOME='" + home.string() +
                                "' SDL_VIDEODRIVER=" + videoDriver + " SDL_AUDIODRIVER=dummy '" VANTREL_BINARY_PATH
                                "' </dev/null >/dev/null 2>'" + errors.string() + "'";
    GameRun run;
    const int result = std::system(command.c_str());
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.standardError = TestSupport::ReadFile(errors);
    run.log = TestSupport::ReadFile(home / "Documents" / "logs" / "log.txt");
    return run;
}

TEST(EntryPoint, AFailedStartUpEndsWithStatusOneAndSaysWhyOnStandardError)
{
    struct Case {
        const char* name;
        std::filesystem::path workingFolder;
        const char* videoDriver;
        const char* reason;
    };
    const std::filesystem::path empty = TestSupport::TemporaryHome() / "empty";
    std::filesystem::create_directories(empty);
    const Case cases[] = {
        {"no shaders in the working folder", empty, "offscreen", "Failed to initialize shaders!"},
        {"no window", VANTREL_SOURCE_DIR, "no-such-driver", "Failed to initialize swap chain and/or device!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GameRun run = RunGame(c.workingFolder, c.videoDriver);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.standardError.find(std::string("Project Vantrel could not start: ") + c.reason), std::string::npos)
            << run.standardError;
        EXPECT_NE(run.log.find("] [error] Failed to initialize Graphics!\n"), std::string::npos);
        EXPECT_NE(run.log.find("] [info] Quitting Game...\n"), std::string::npos);
    }
}

}  // namespace

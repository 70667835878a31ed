#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int status;
    std::string output;
};

// Runs the game binary with the given arguments and its error output joined to the output.
Outcome RunGame(const std::string& arguments)
{
    const std::string command = std::string("\"") + VANTREL_BINARY_PATH + "\" " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    Outcome outcome{-1, {}};
    if (pipe == nullptr)
        return outcome;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        outcome.output += buffer;
    const int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

TEST(CommandLine, AnyArgumentButDebugPrintsTheUsageAndEndsWithStatusTwo)
{
    for (const char* arguments : {"--help", "debug", "--debug --fullscreen", "-d"}) {
        const Outcome outcome = RunGame(arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_NE(outcome.output.find("usage: "), std::string::npos) << arguments;
        EXPECT_NE(outcome.output.find("[--debug]"), std::string::npos) << arguments;
    }
}

}  // namespace

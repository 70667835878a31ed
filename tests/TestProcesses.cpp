#include "TestProcesses.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace TestSupport {
namespace {

// Set in every child, so that a child never fans out again whatever its filter says.
constexpr const char* ChildMarker = "VANTREL_TEST_CHILD";

struct ChildRun {
    std::string output;  // standard output and error together, in the order written
    int status = 0;      // as waitpid reports it
    bool started = false;
};

ChildRun RunChild(const std::vector<std::string>& arguments)
{
    ChildRun run;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[1]);

    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawn(&child, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned == 0) {
        run.started = true;
        char buffer[4096];
        ssize_t count = 0;
        while ((count = read(pipeEnds[0], buffer, sizeof buffer)) != 0) {
            if (count > 0)
                run.output.append(buffer, static_cast<std::size_t>(count));
            else if (errno != EINTR)
                break;
        }
        while (waitpid(child, &run.status, 0) < 0 && errno == EINTR) {
        }
    }
    close(pipeEnds[0]);
    return run;
}

bool HasFlag(const std::vector<std::string>& arguments, const std::string& flag)
{
    for (const std::string& argument : arguments)
        if (argument == flag || argument.rfind(flag + "=", 0) == 0)
            return true;
    return false;
}

// The filter names exactly one test: what ctest's discovered tests pass.
bool FilterNamesOneTest(const std::vector<std::string>& arguments)
{
    const std::string prefix = "--gtest_filter=";
    std::string filter;
    bool given = false;
    for (const std::string& argument : arguments)
        if (argument.rfind(prefix, 0) == 0) {
            filter = argument.substr(prefix.size());
            given = true;
        }
    return given && !filter.empty() && filter.find_first_of("*?:-") == std::string::npos;
}

bool IsDisabled(const std::string& fullName)
{
    const std::size_t dot = fullName.find('.');
    const std::size_t slash = fullName.find('/');
    const std::size_t suiteStart = slash < dot ? slash + 1 : 0;  // after a parameter prefix
    return fullName.compare(suiteStart, 9, "DISABLED_") == 0 ||
           fullName.compare(dot + 1, 9, "DISABLED_") == 0;
}

// The full names of the tests the command line selects, as the executable lists them.
std::vector<std::string> SelectedTests(const std::vector<std::string>& arguments, bool& listed)
{
    std::vector<std::string> listing = arguments;
    listing.push_back("--gtest_list_tests");
    const ChildRun run = RunChild(listing);
    listed = run.started && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;

    std::vector<std::string> names;
    std::string suite;
    std::size_t lineStart = 0;
    while (listed && lineStart < run.output.size()) {
        std::size_t lineEnd = run.output.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = run.output.size();
        const std::string line = run.output.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (line.empty())
            continue;
        // "Suite." then "  Name", either perhaps followed by "  # GetParam() = ...".
        const bool isTest = line[0] == ' ';
        const std::size_t begin = line.find_first_not_of(' ');
        const std::size_t end = line.find_first_of(" #", begin);
        const std::string word = line.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (!isTest)
            suite = word;
        else if (!suite.empty())
            names.push_back(suite + word);
    }
    return names;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

std::string HowItEnded(int status)
{
    if (WIFSIGNALED(status))
        return "killed by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    return "exit status " + std::to_string(WEXITSTATUS(status));
}

}  // namespace

std::optional<int> RunEachTestInItsOwnProcess(const std::vector<std::string>& arguments)
{
    if (std::getenv(ChildMarker) != nullptr) {
        unsetenv(ChildMarker);  // what this child starts in turn may fan out again
        return std::nullopt;
    }
    if (HasFlag(arguments, "--gtest_list_tests") || FilterNamesOneTest(arguments))
        return std::nullopt;
    setenv(ChildMarker, "1", 1);

    bool listed = false;
    std::vector<std::string> tests = SelectedTests(arguments, listed);
    if (!listed) {
        std::fprintf(stderr, "Could not list the tests of %s to run each in its own process\n",
                     arguments[0].c_str());
        return 1;
    }
    const bool runDisabled = HasFlag(arguments, "--gtest_also_run_disabled_tests");
    std::size_t disabled = 0;
    std::erase_if(tests, [&](const std::string& name) {
        const bool skip = !runDisabled && IsDisabled(name);
        disabled += skip ? 1 : 0;
        return skip;
    });
    if (tests.size() <= 1) {
        unsetenv(ChildMarker);
        return std::nullopt;
    }

    std::printf("[==========] Running %zu tests, each in a process of its own.\n", tests.size());
    const auto wholeStart = std::chrono::steady_clock::now();
    std::vector<std::string> failed;
    for (const std::string& test : tests) {
        std::printf("[ RUN      ] %s\n", test.c_str());
        std::fflush(stdout);
        std::vector<std::string> childArguments = arguments;
        childArguments.push_back("--gtest_filter=" + test);  // the last filter given wins
        const auto start = std::chrono::steady_clock::now();
        const ChildRun run = RunChild(childArguments);
        const long long milliseconds = MillisecondsSince(start);
        if (run.started && WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0) {
            std::printf("[       OK ] %s (%lld ms)\n", test.c_str(), milliseconds);
        } else {
            std::fwrite(run.output.data(), 1, run.output.size(), stdout);
            std::printf("[  FAILED  ] %s (%s, %lld ms)\n", test.c_str(),
                        run.started ? HowItEnded(run.status).c_str() : "could not start", milliseconds);
            failed.push_back(test);
        }
        std::fflush(stdout);
    }

    std::printf("[==========] %zu tests ran. (%lld ms total)\n", tests.size(), MillisecondsSince(wholeStart));
    std::printf("[  PASSED  ] %zu tests.\n", tests.size() - failed.size());
    if (!failed.empty()) {
        std::printf("[  FAILED  ] %zu tests, listed below:\n", failed.size());
        for (const std::string& test : failed)
            std::printf("[  FAILED  ] %s\n", test.c_str());
    }
    if (disabled > 0)
        std::printf("\n  YOU HAVE %zu DISABLED TESTS\n\n", disabled);
    std::fflush(stdout);
    return failed.empty() ? 0 : 1;
}

}  // namespace TestSupport

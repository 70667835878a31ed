// Runs a test executable's tests one process each when it is started for more than one test,
// since the engine's singletons live for the whole process; called by the shared test main.
// ctest already starts one process per test, so a run selecting one test stays in-process.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

// The exit status of running every test that `arguments` (the executable's own command line,
// gtest flags included) selects, each in a fresh child of this executable, with progress and a
// summary on standard output; nothing when the command line selects at most one test, lists
// the tests, or this process is already such a child, so the caller runs the tests itself.
std::optional<int> RunEachTestInItsOwnProcess(const std::vector<std::string>& arguments);

}  // namespace TestSupport

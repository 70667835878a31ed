// Helpers of the level and asset file tests: fixture paths, a scratch folder for files the
// tests write, the level list of a test, and the log lines that the readers write.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace DataTest {

// A file of tests/data/fixtures.
std::filesystem::path Fixture(const std::string& name);

// An empty folder of this test process for files that the test writes.
std::filesystem::path Scratch();

// Copies a fixture into the scratch folder and returns the copy's path.
std::filesystem::path CopyFixture(const std::string& name);

// Appends one level to the level manager's list, as the level list file would.
void ListLevel(const std::string& name, const std::filesystem::path& path);

// Every line written to the log file so far, and those of them at error level.
std::vector<std::string> LogLines();
std::vector<std::string> ErrorLines();

// The names of the live objects by id (an empty string for a free slot below the highest).
std::vector<std::string> ObjectNames();

// The id of the first live object with this name (asserting that there is one).
std::uint32_t IdOf(const std::string& name);

}  // namespace DataTest

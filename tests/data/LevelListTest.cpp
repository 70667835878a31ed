// The level list: byte order of its names, lookup by exact name, and a list that cannot be read.
#include "DataTestSupport.h"
#include "TestSupport.h"

#include "core/Log.h"
#include "data/LevelManager.h"

#include <gtest/gtest.h>

using Engine::LevelManager;

namespace {

class LevelList : public testing::Test {
protected:
    void SetUp() override { InitializeLogging(); }
    LevelManager& levels = LevelManager::Instance();
};

}  // namespace

TEST_F(LevelList, NamesInByteOrderWithTheirPaths)
{
    levels.levelListPath = DataTest::Fixture("LevelNames.json");
    levels.LoadLevelNames();

    EXPECT_EQ(levels.levelNames, (std::vector<std::string>{"Credits", "Level 1", "Main Menu", "level 1"}));
    EXPECT_EQ(levels.levelPaths, (std::vector<std::string>{"credits.json", "one.json", "menu.json", "lower.json"}));
    EXPECT_EQ(levels.currentLevel, "Credits");
}

TEST_F(LevelList, FindLevelIndexMatchesExactlyAndFindsTheFirstCopy)
{
    levels.levelListPath = DataTest::Fixture("LevelNames.json");
    levels.LoadLevelNames();
    levels.LoadLevelNames();  // a second read appends the whole list again

    ASSERT_EQ(levels.levelNames.size(), 8u);
    EXPECT_EQ(levels.FindLevelIndex("Level 1"), 1u);
    EXPECT_EQ(levels.FindLevelIndex("level 1"), 3u);
    EXPECT_EQ(levels.FindLevelIndex("Credits"), 0u);
    EXPECT_FALSE(levels.FindLevelIndex("LEVEL 1").has_value());
    EXPECT_FALSE(levels.FindLevelIndex("Level 1 ").has_value());
    EXPECT_FALSE(levels.FindLevelIndex("").has_value());
}

TEST_F(LevelList, MissingEmptyOrMalformedListChangesNothing)
{
    const std::filesystem::path notJson = DataTest::Scratch() / "NotJson.json";
    const std::filesystem::path array = DataTest::Scratch() / "Array.json";
    TestSupport::WriteFile(notJson, "{\"Level 1\": ");
    TestSupport::WriteFile(array, "[\"Level 1\"]");
    struct Case {
        std::filesystem::path file;
        std::string error;  // empty: no error line at all
    };
    const std::vector<Case> cases = {
        {DataTest::Scratch() / "Missing.json", ""},
        {DataTest::Fixture("EmptyObject.json"), ""},
        {DataTest::Fixture("malformed/LevelNamesNotString.json"), "LevelNamesNotString.json: expected the level file's path as a string at \"Level 1\""},
        {notJson, "NotJson.json: not well-formed JSON"},
        {array, "Array.json: expected an object at the top level"},
    };
    levels.currentLevel = "Before";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.string());
        const std::size_t errorsBefore = DataTest::ErrorLines().size();
        levels.levelListPath = c.file;
        levels.LoadLevelNames();

        EXPECT_TRUE(levels.levelNames.empty());
        EXPECT_TRUE(levels.levelPaths.empty());
        EXPECT_EQ(levels.currentLevel, "Before");
        const std::vector<std::string> errors = DataTest::ErrorLines();
        if (c.error.empty()) {
            EXPECT_EQ(errors.size(), errorsBefore);
        } else {
            ASSERT_EQ(errors.size(), errorsBefore + 1);
            EXPECT_NE(errors.back().find(c.error), std::string::npos) << errors.back();
        }
    }
    // The program goes on: a good list still reads afterwards.
    levels.levelListPath = DataTest::Fixture("LevelNames.json");
    levels.LoadLevelNames();
    EXPECT_EQ(levels.levelNames.size(), 4u);
}

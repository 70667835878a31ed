// The one walk over a level file's entries: which files it refuses before anything is
// visited (and so before a visitor clears its world), where a faulty entry stops it, and that
// the scanned and the document road hand over the same entries in the same order.
#include "DataTestSupport.h"
#include "TestSupport.h"

#include "core/Log.h"
#include "data/JsonReader.h"
#include "data/LevelEntryRecord.h"
#include "data/LevelFile.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Engine;

namespace {

constexpr const char* LevelNotFound = "Could not find the loaded level's Json file in Resources Levels";

class Recorder final : public LevelEntryVisitor {
public:
    explicit Recorder(bool records) : takesRecords(records) {}

    bool TakesRecords() const override { return takesRecords; }
    void Begin() override { begun = true; }
    void Visit(LevelEntryRecord& record) override { scanned.push_back(record.key); }
    void Visit(JsonReader&, const EntryReader&, const std::string& key, const nlohmann::json&) override
    {
        read.push_back(key);
    }

    bool takesRecords;
    bool begun = false;
    std::vector<std::string> scanned;  // keys of the entries handed over as records
    std::vector<std::string> read;     // keys of the entries handed over from the document
};

std::size_t ErrorsWith(const std::string& text)
{
    FlushLog();
    const std::vector<std::string> errors = DataTest::ErrorLines();
    return static_cast<std::size_t>(
        std::count_if(errors.begin(), errors.end(), [&](const std::string& line) { return line.ends_with(text); }));
}

}  // namespace

TEST(LevelFile, RefusedFilesVisitNothingAndFaultyEntriesStopTheWalk)
{
    InitializeLogging({.repeatWindow = {}});
    const std::filesystem::path stopsAtB = DataTest::Scratch() / "StopsAtB.json";
    TestSupport::WriteFile(stopsAtB, R"({"A": {"Handle": "A"}, "B": 7, "C": {"Handle": "C"}})");
    DataTest::ListLevel("Missing", DataTest::Scratch() / "Missing.json");
    DataTest::ListLevel("Not JSON", DataTest::Fixture("malformed/NotJson.json"));
    DataTest::ListLevel("Array", DataTest::Fixture("malformed/TopLevelArray.json"));
    DataTest::ListLevel("Stops At B", stopsAtB);
    DataTest::ListLevel("Ordered", DataTest::Fixture("Ordered.json"));
    DataTest::ListLevel("Null", DataTest::Fixture("Null.json"));

    struct Case {
        const char* level;
        LevelWalk walk;
        bool begun;
        std::vector<std::string> read;
        std::size_t notFoundLines;  // "level not found" lines this walk adds
    };
    const Case cases[] = {
        {"Unlisted", LevelWalk::NotRead, false, {}, 1},
        {"ordered", LevelWalk::NotRead, false, {}, 1},  // names match by their exact bytes
        {"Missing", LevelWalk::NotRead, false, {}, 1},
        {"Not JSON", LevelWalk::NotRead, false, {}, 0},
        {"Array", LevelWalk::NotRead, false, {}, 0},
        {"Stops At B", LevelWalk::Stopped, true, {"A"}, 0},
        {"Ordered", LevelWalk::Whole, true, {"APlayer", "Background", "Enemy"}, 0},
        {"Null", LevelWalk::Whole, true, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const std::size_t before = ErrorsWith(LevelNotFound);
        Recorder recorder(false);
        EXPECT_EQ(ForEachLevelEntry(c.level, recorder), c.walk);
        EXPECT_EQ(recorder.begun, c.begun);
        EXPECT_EQ(recorder.read, c.read);
        EXPECT_TRUE(recorder.scanned.empty());
        EXPECT_EQ(ErrorsWith(LevelNotFound), before + c.notFoundLines);
    }
}

TEST(LevelFile, ScannedAndDocumentRoadsHandOverTheSameEntries)
{
    InitializeLogging();
    // A level the game wrote: it is in the plain shape the scanner reads.
    DataTest::ListLevel("Level 1", "Resources/Levels/Level1.json");

    Recorder scanning(true);
    ASSERT_EQ(ForEachLevelEntry("Level 1", scanning), LevelWalk::Whole);
    Recorder reading(false);
    ASSERT_EQ(ForEachLevelEntry("Level 1", reading), LevelWalk::Whole);

    EXPECT_TRUE(scanning.read.empty()) << "a file in the plain shape goes to a record visitor as records";
    EXPECT_FALSE(reading.read.empty());
    EXPECT_EQ(scanning.scanned, reading.read);
}

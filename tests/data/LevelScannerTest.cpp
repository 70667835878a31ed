// The level scanner: which texts it reads straight into records and which it leaves to the
// general reader, and that a level loads into the same world, with the same log lines, by
// either road.
#include "DataTestSupport.h"

#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelBaseline.h"
#include "data/LevelManager.h"
#include "data/LevelScanner.h"
#include "data/EntryWriter.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using namespace Engine;

namespace {

std::string Text(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// What a load into an empty world leaves: the objects by id, every stored field (as a save writes them), the
// delayed kill-zone effects, and the log lines it wrote without their time.
struct World {
    std::vector<std::string> names;
    std::string saved;
    std::size_t timers = 0;
    std::vector<std::string> lines;
};

World LoadAndLook(const std::string& level, const std::filesystem::path& file)
{
    DataTest::ListLevel(level, file);
    GetSystem<TimerDatabase>()->timers.clear();
    GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id < MaxGameObjects; ++id)
        if (table.Get(id) != nullptr)
            table.RemoveGameObject(id);
    FlushLog();
    const std::size_t linesBefore = DataTest::LogLines().size();
    LevelManager::Instance().LoadLevel(level);
    FlushLog();
    World world;
    world.names = DataTest::ObjectNames();
    for (std::uint32_t id = 0; id < MaxGameObjects; ++id) {
        if (table.Get(id) == nullptr)
            continue;
        nlohmann::json entry;
        EntryWriter::WriteComponents(entry, id, EntryWriter::Checkpoints::Written);
        world.saved += table.Get(id)->name + ": " + entry.dump() + "\n";
    }
    // And what a save writes, the level's own entries while nothing is edited.
    LevelManager::Instance().SaveLevel();
    world.saved += Text(file);
    const auto& timers = GetSystem<TimerDatabase>()->timers;
    world.timers = static_cast<std::size_t>(std::count_if(timers.begin(), timers.end(), [](const auto& t) { return t->active; }));
    const std::vector<std::string> lines = DataTest::LogLines();
    for (std::size_t i = linesBefore; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const std::size_t time = line.find("] ");
        std::string kept = time == std::string::npos ? line : line.substr(time + 2);
        // The level's own name differs between the two loads.
        if (kept.find("Attempting to load level") == std::string::npos)
            world.lines.push_back(std::move(kept));
    }
    return world;
}

bool Plain(const std::string& text)
{
    std::vector<LevelEntryRecord> entries;
    return LevelScanner::Scan(text, entries);
}

}  // namespace

TEST(LevelScanner, ShippedLevelsLoadTheSameByEitherRoad)
{
    Engine::Logging::Limits everyLine;
    everyLine.repeatWindow = std::chrono::milliseconds(0);  // both loads' lines, none folded
    InitializeLogging(everyLine);
    SystemManager::Instance();
    Camera::Instance()->followedObjectId = 0;
    const std::filesystem::path folder = std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources" / "Levels";
    for (const std::string level : {"SplashScreen", "MainMenu", "Level1", "Level2", "Level3", "Level4", "Credits"}) {
        SCOPED_TRACE(level);
        const std::string text = Text(folder / (level + ".json"));
        const std::filesystem::path shipped = DataTest::Scratch() / (level + ".json");
        std::ofstream(shipped, std::ios::binary) << text;
        ASSERT_TRUE(Plain(text));

        // A member written twice over is one member to the general reader (the last one, the
        // same here) and left to it by the scanner, so this copy loads the general way.
        const std::string general = std::regex_replace(text, std::regex(R"(("Handle": "[^"]*"))"), "$1, $1",
                                                       std::regex_constants::format_first_only);
        ASSERT_NE(general, text);
        ASSERT_FALSE(Plain(general));
        const std::filesystem::path copy = DataTest::Scratch() / (level + "-general.json");
        std::ofstream(copy, std::ios::binary) << general;

        const World scanned = LoadAndLook(level, shipped);
        const World read = LoadAndLook(level + " general", copy);
        EXPECT_FALSE(scanned.names.empty());
        EXPECT_EQ(scanned.names, read.names);
        EXPECT_EQ(scanned.saved, read.saved);
        EXPECT_EQ(scanned.timers, read.timers);
        EXPECT_EQ(scanned.lines, read.lines);
    }
}

TEST(LevelScanner, TakesOnlyWhatItCanReadWhole)
{
    const std::string player = R"("Handle": "Player", "Transform": {"PosX": [1], "PosY": [2.5], "PosZ": [0],
        "ScaleX": [1], "ScaleY": [1], "Rotation": [0]})";
    struct Case {
        std::string text;
        bool plain;
    };
    const std::vector<Case> cases = {
        {"null", true},
        {" {} ", true},
        {"{\"APlayer\": {" + player + "}}", true},
        {"{\"APlayer\": {" + player + ", \"Notes\": {\"any\": [1, {\"deep\": null}]}, \"Controller\": 7}}", true},
        {"{\"APlayer\": {\"Handle\": \"caf\u00e9 \\u00e9\", \"Notes\": [12345678901234567890, 1e-400]}}", true},
        // Faults, and shapes the general reader takes differently or reports.
        {"[]", false},
        {"{\"A\": {\"Handle\": \"a\"}, \"A\": {\"Handle\": \"b\"}}", false},                 // repeated key
        {"{\"A\": {\"Handle\": \"a\", \"Notes\": [1 2]}}", false},                          // not JSON
        {"{\"A\": {\"Handle\": \"a\", \"Notes\": [tr ue]}}", false},                        // not JSON
        {"{\"A\": {\"Handle\": \"a\"}} x", false},                                          // not JSON
        {"{\"A\": {\"Handle\": \"a\", \"Range\": {\"Range\": [1e39], \"BulletSpeed\": [1]}}}", false},
        {"{\"A\": {\"Handle\": \"a\", \"Sprite\": {\"Color\": {\"X\": 1, \"Y\": 1, \"Z\": 1}, \"MeshIndex\": [0], "
         "\"Texture\": [\"t.png\"]}}}", false},                                               // no "W"
        {"{\"A\": {\"Handle\": \"a\", \"Events\": {\"E\": [[\"H\"]], \"E\": [[\"H\"]]}}}", false},
        {"{\"A\": {\"Handle\": \"a\", \"Parallax\": {\"PosX\": [0], \"PosY\": [0], \"Level\": [3000000000]}}}", false},
        {"{\"A\": {\"Handle\": 5}}", false},
        {"{\"A\": {\"Transform\": {}}}", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Plain(c.text), c.plain) << c.text;
}

TEST(LevelScanner, KeepsStringsAsWrittenAndOrdersEntriesAndEvents)
{
    std::vector<LevelEntryRecord> entries;
    ASSERT_TRUE(LevelScanner::Scan(R"({
        "b": {"Handle": "  two  words \" \\ "},
        "B": {"Handle": "upper", "Events": {"Top": [["T1"], ["T2"]], "Bottom Collision": [["IsGrounded"]]}},
        "APlayer": {"Handle": "Player", "Controller": {}}
    })",
                                   entries));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].key, "APlayer");
    EXPECT_TRUE(entries[0].hasController);
    EXPECT_EQ(entries[1].key, "B");
    ASSERT_EQ(entries[1].events.size(), 2u);
    EXPECT_EQ(entries[1].events[0].first, "Bottom Collision");
    EXPECT_EQ(entries[1].events[1].second, (std::vector<std::string>{"T1", "T2"}));
    EXPECT_EQ(entries[2].handle, "  two  words \" \\ ");
}

TEST(LevelScanner, GivesEachEntryTheTextTheLibraryWouldLayOut)
{
    // The scanner writes the entry's text from the parse itself; it must be the library's
    // layout of the entry's document byte for byte, or a save straight after a load changes
    // the file.
    const std::string transform = R"("Transform": {"PosX": [1.50], "PosY": [-0.0], "PosZ": [1e2],
        "ScaleX": [0.1], "ScaleY": [100], "Rotation": [-0]})";
    const std::vector<std::string> entries = {
        "{\"Handle\": \"a\", " + transform + "}",
        // Members out of byte order, a member repeated (the last one stands), orders inside
        // unknown members too.
        "{" + transform + ", \"Handle\": \"a\", \"Notes\": 1, \"Notes\": {\"z\": 1, \"a\": [2, 1]}}",
        R"({"Handle": "a", "Notes": {"b": {"y": 1, "x": 2}, "a": 0}})",
        // Numbers of every form, empty and nested containers.
        R"({"Handle": "a", "Notes": [1E-7, 123456789012345678, -123456789012345678, 0.30000000000000004, 2.5e-300,
            1.7976931348623157e308, 5e-324, 1.0e0, 0, {}, [], [[]], [{}], true, false, null]})",
        R"({"Handle": "a", "Notes": [-9223372036854775808, 18446744073709551615, 18446744073709551616, 1e-400]})",
        // Strings the library escapes, and some it keeps as they are.
        R"({"Handle": "say \"hi\" \\ \/ now", "Notes": "tab\t line\n\r \b \f"})",
        R"({"Handle": "\u0001 \u007f", "Notes": "caf\u00e9 \ud83d\ude00 é"})",
        R"({"Handle": "a", "Events": {"Top": [["T1"], ["T2"]], "Bottom Collision": [["IsGrounded"]]}, "Controller": {}})",
    };
    for (const std::string& entry : entries) {
        SCOPED_TRACE(entry);
        std::vector<LevelEntryRecord> records;
        ASSERT_TRUE(LevelScanner::Scan("{\"Key\": " + entry + ", \"Other\": {\"Handle\": \"b\"}}", records));
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].text, LevelBaseline::EntryText(nlohmann::json::parse(entry)));
        EXPECT_EQ(records[1].text, "{\n    \"Handle\": \"b\"\n}");
    }
}

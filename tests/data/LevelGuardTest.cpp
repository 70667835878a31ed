// What keeps a level from being lost: a load that fails or stops part way never leads a save
// to overwrite a file with less than it held, numbers that would not survive a round trip are
// refused on the way in and never written on the way out, and documents nested too deep are
// refused before anything walks them.
#include "DataTestSupport.h"

#include "TestSupport.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/JsonReader.h"
#include "data/LevelManager.h"
#include "gameplay/AnimationUpdate.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <limits>
#include <sstream>

using namespace Engine;
using DataTest::ObjectNames;
using Json = nlohmann::json;

namespace {

using Names = std::vector<std::string>;

class LevelGuard : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        SystemManager::Instance();
        Camera::Instance()->followedObjectId = 0;
    }

    // Lists a scratch file holding `text` under `name` and returns its path.
    static std::filesystem::path ListedLevel(const std::string& name, const std::string& text)
    {
        const std::filesystem::path file = DataTest::Scratch() / (name + ".json");
        TestSupport::WriteFile(file, text);
        DataTest::ListLevel(name, file);
        return file;
    }

    static bool Logged(const std::string& text)
    {
        const std::vector<std::string> lines = DataTest::LogLines();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; });
    }

    // Nesting `depth` arrays deep, as the value of one member.
    static std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

    LevelManager& levels = LevelManager::Instance();
    ComponentStore& store = ComponentStore::Instance();
};

constexpr const char* GoodLevel = R"({
    "APlayer": {"Handle": "Player", "Transform": {"PosX": [1.0], "PosY": [2.0], "PosZ": [0.0], "ScaleX": [1.0], "ScaleY": [1.0], "Rotation": [0.0]}},
    "Wall": {"Handle": "Wall"}
})";

}  // namespace

// The old level stays current after a load that could not read its file, and a level read only
// in part is never saved: either way, each file stays byte for byte as it was.
TEST_F(LevelGuard, FailedOrPartialLoadFollowedByASaveLeavesEveryFileAsItWas)
{
    const std::filesystem::path good = ListedLevel("Good", GoodLevel);
    levels.LoadLevel("Good");
    ASSERT_EQ(ObjectNames(), (Names{"Player", "Wall"}));

    struct Case {
        std::string level;
        std::string text;
        Names partial;  // when the old world went: the part of the new one that stands
    };
    const std::vector<Case> cases = {
        {"Not Json", "{\"APlayer\": {\"Handle\": \"Player\"}, oops", {}},
        {"Too Deep", "{\"Deep\": {\"Handle\": \"Deep\", \"Odd\": " + Nested(200) + "}}", {}},
        {"Faulty Entry", "{\"APlayer\": {\"Handle\": \"Player\"}, \"Enemy\": {\"Handle\": \"Enemy\", \"Transform\": {}}, \"Wall\": {\"Handle\": \"Wall\"}}",
         {"Player", "Enemy"}},
        {"Too Big", "{\"APlayer\": {\"Handle\": \"Player\"}, \"Far\": {\"Handle\": \"Far\", \"Range\": {\"Range\": [1e39], \"BulletSpeed\": [1.0]}}}", {"Player", "Far"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        const std::filesystem::path file = ListedLevel(c.level, c.text);
        levels.LoadLevel("Good");
        const std::string goodBefore = TestSupport::ReadFile(good);

        levels.LoadLevel(c.level);
        levels.SaveLevel();

        EXPECT_EQ(TestSupport::ReadFile(file), c.text);
        EXPECT_FALSE(std::filesystem::exists(file.string() + ".saving"));
        if (!c.partial.empty()) {
            EXPECT_EQ(levels.currentLevel, c.level);
            EXPECT_FALSE(levels.CurrentLevelLoadedWhole());
            EXPECT_EQ(ObjectNames(), c.partial);
            EXPECT_TRUE(Logged("[error] Not saving level \"" + c.level + "\": it loaded only in part, and saving would overwrite " +
                               file.string() + " with less than it holds"));
            EXPECT_EQ(TestSupport::ReadFile(good), goodBefore);
        } else {
            // The old world is still the old level's and goes back into its own file.
            EXPECT_EQ(levels.currentLevel, "Good");
            EXPECT_TRUE(levels.CurrentLevelLoadedWhole());
            EXPECT_EQ(ObjectNames(), (Names{"Player", "Wall"}));
            EXPECT_EQ(Json::parse(TestSupport::ReadFile(good)), Json::parse(goodBefore));
        }
    }
}

// 1e39 does not fit a float: it is a faulty member, not an infinity that a save would write as
// null. A non-finite value that reached the world anyway is saved as 0 with a warning, so the
// file loads again whole.
TEST_F(LevelGuard, NonFiniteNumbersNeitherLoadNorSave)
{
    ListedLevel("Huge", R"({"Huge": {"Handle": "Huge", "Transform": {"PosX": [1e39], "PosY": [0], "PosZ": [0], "ScaleX": [1], "ScaleY": [1], "Rotation": [0]}}})");
    levels.LoadLevel("Huge");
    EXPECT_TRUE(Logged(": expected a number within the range of a float at \"Huge\" > \"Transform\" > \"PosX\""));
    EXPECT_FALSE(levels.CurrentLevelLoadedWhole());
    EXPECT_EQ(store.GetComponent<Transform>(DataTest::IdOf("Huge"))->x_pos, 0.0f) << "the field keeps its constructor value";

    const std::filesystem::path file = ListedLevel("Round Trip", GoodLevel);
    levels.LoadLevel("Round Trip");
    ASSERT_TRUE(levels.CurrentLevelLoadedWhole());
    store.GetComponent<Transform>(DataTest::IdOf("Player"))->x_pos = std::numeric_limits<float>::infinity();
    store.GetComponent<Transform>(DataTest::IdOf("Player"))->rot = 5.0f;
    const std::uint32_t wall = DataTest::IdOf("Wall");
    store.AddComponent<Sprite>(wall);
    store.GetComponent<Sprite>(wall)->Color[1] = std::numeric_limits<float>::quiet_NaN();

    levels.SaveLevel();

    const std::string text = TestSupport::ReadFile(file);
    EXPECT_EQ(text.find("null"), std::string::npos) << text;
    const Json saved = Json::parse(text);
    EXPECT_EQ(saved["APlayer"]["Transform"]["PosX"], Json::array({0.0}));
    EXPECT_EQ(saved["Wall"]["Sprite"]["Color"]["Y"], 0.0);
    EXPECT_TRUE(Logged("[warning] Saving Player: Transform PosX is inf, which cannot be stored; it is written as 0"));
    EXPECT_TRUE(Logged("[warning] Saving Wall: Sprite Color Y is nan, which cannot be stored; it is written as 0"));

    levels.LoadLevel("Round Trip");
    EXPECT_TRUE(levels.CurrentLevelLoadedWhole());
    EXPECT_EQ(ObjectNames(), (Names{"Player", "Wall"}));
    EXPECT_EQ(store.GetComponent<Transform>(DataTest::IdOf("Player"))->rot, 5.0f);
    EXPECT_NE(store.GetComponent<Sprite>(DataTest::IdOf("Wall")), nullptr);
}

TEST_F(LevelGuard, NestingIsRefusedPastTheLimitAndAcceptedUpToIt)
{
    const JsonReader reader("deep.json");
    Json document;
    const std::size_t limit = static_cast<std::size_t>(JsonReader::MaxDepth);
    std::istringstream deepest(Nested(limit));
    EXPECT_TRUE(reader.Parse(deepest, document));
    std::istringstream tooDeep("{\"a\": " + Nested(limit) + "}");
    EXPECT_FALSE(reader.Parse(tooDeep, document));
    EXPECT_TRUE(Logged("[error] Could not read deep.json: it is nested deeper than 128 levels"));
}

// A 100,000-deep member used to be read without complaint and then written back recursively
// by the archetype save, which ran out of stack. Every reader refuses it up front.
TEST_F(LevelGuard, DeepDocumentsAreRefusedByEveryReader)
{
    const std::string deep = Nested(100'000);
    const std::filesystem::path archetypes = DataTest::Scratch() / "ArchetypeList.json";
    const std::string archetypeText = "{\"Enemy\": {\"Handle\": \"Enemy\", \"Notes\": " + deep + "}}";
    TestSupport::WriteFile(archetypes, archetypeText);
    levels.archetypePath = archetypes;

    levels.LoadArchetypes();
    EXPECT_TRUE(levels.archetypes.empty());
    const std::uint32_t enemy = GameObjectTable::Instance().CreateGameObject("Enemy");
    store.AddComponent<Transform>(enemy);
    levels.SaveArchetype(enemy);
    levels.DeleteArchetype("Enemy");
    EXPECT_EQ(TestSupport::ReadFile(archetypes), archetypeText);

    const std::filesystem::path animations = DataTest::Scratch() / "AnimationData.json";
    TestSupport::WriteFile(animations, "{\"Walk\": " + deep + "}");
    levels.animationDataPath = animations;
    levels.LoadAnimationData();

    const std::filesystem::path list = DataTest::Scratch() / "LevelNames.json";
    TestSupport::WriteFile(list, "{\"Level 1\": " + deep + "}");
    levels.levelListPath = list;
    levels.LoadLevelNames();
    EXPECT_TRUE(levels.levelNames.empty());

    ListedLevel("Deep", "{\"Deep\": {\"Handle\": \"Deep\", \"Notes\": " + deep + "}}");
    levels.LoadLevel("Deep");
    EXPECT_EQ(ObjectNames(), Names{"Enemy"});

    for (const std::filesystem::path& file : {archetypes, animations, list, DataTest::Scratch() / "Deep.json"})
        EXPECT_TRUE(Logged("[error] Could not read " + file.string() + ": it is nested deeper than 128 levels")) << file;
}

// The library's lexer takes a NUL byte for the end of the text, so a file with garbage after
// a NUL used to read as the document before it. Whatever follows the document but white space
// makes the file not well-formed, for every reader.
TEST_F(LevelGuard, AnythingButWhiteSpaceAfterTheDocumentIsRefusedByEveryReader)
{
    struct Case {
        std::string after;
        bool refused;
    };
    const std::vector<Case> cases = {
        {std::string("\0garbage", 8), true},
        {std::string("\n\0", 2), true},
        {" garbage", true},
        {"}", true},
        {" \n\t\r\n", false},
    };
    const std::string animation = R"({"Walk": {"Handle": "Walk", "Frame Count": [2], "Rows": [1], "Columns": [2],
        "Frame Delay": [0.1], "Looping": [true], "Sprite Sheet": "Walk.png"}})";
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(testing::PrintToString(c.after));
        const std::filesystem::path folder = DataTest::Scratch() / std::to_string(i);
        std::filesystem::create_directories(folder);
        const std::filesystem::path list = folder / "LevelNames.json";
        const std::filesystem::path level = folder / "Level.json";
        const std::filesystem::path archetypes = folder / "ArchetypeList.json";
        const std::filesystem::path animations = folder / "AnimationData.json";
        TestSupport::WriteFile(list, "{\"Trailing\": \"" + level.string() + "\"}" + c.after);
        TestSupport::WriteFile(level, GoodLevel + c.after);
        TestSupport::WriteFile(archetypes, R"({"Enemy": {"Handle": "Enemy"}})" + c.after);
        TestSupport::WriteFile(animations, animation + c.after);

        GameObjectTable& table = GameObjectTable::Instance();
        for (std::uint32_t id = 0; id <= table.highestUsed; ++id)
            if (table.Get(id) != nullptr)
                table.RemoveGameObject(id);
        levels.levelNames.clear();
        levels.levelPaths.clear();
        levels.levelListPath = list;
        levels.LoadLevelNames();
        DataTest::ListLevel("Trailing", level);  // the level itself is found whatever the list says
        levels.LoadLevel("Trailing");
        levels.archetypePath = archetypes;
        levels.LoadArchetypes();
        levels.animationHandles.clear();
        levels.animationDataPath = animations;
        levels.LoadAnimationData();

        EXPECT_EQ(levels.levelNames.size(), c.refused ? 1u : 2u);  // the list's own entry, and ListLevel's
        EXPECT_EQ(ObjectNames(), (c.refused ? Names{} : Names{"Player", "Wall"}));
        EXPECT_EQ(levels.archetypes.size(), c.refused ? 0u : 1u);
        EXPECT_EQ(levels.animationHandles.size(), c.refused ? 0u : 1u);
        for (const std::filesystem::path& file : {list, level, archetypes, animations})
            EXPECT_EQ(Logged("[error] Could not read " + file.string() + ": not well-formed JSON"), c.refused) << file;
    }
}

// Run as root in CI, where every open succeeds: the mode bits decide whether a save may replace
// a file. A save through a symbolic link replaces the file it names and keeps the link.
TEST_F(LevelGuard, SavesRefuseReadOnlyFilesAndWriteThroughLinks)
{
    const std::uint32_t wall = GameObjectTable::Instance().CreateGameObject("Wall");
    store.AddComponent<Transform>(wall);
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> save;
        const char* refusal;  // the line of a file that cannot be written
    };
    const std::vector<Case> cases = {
        {"level",
         [&](const std::filesystem::path& file) {
             levels.levelNames.clear();
             levels.levelPaths.clear();
             DataTest::ListLevel("Saved", file);
             levels.LoadLevel("Saved");
             levels.SaveLevel();
         },
         "Could not find the Level 1 Json file in Resources Levels"},
        {"archetypes",
         [&](const std::filesystem::path& file) {
             levels.archetypePath = file;
             levels.SaveArchetype(DataTest::IdOf("Wall"));
         },
         "Could not find the Archetype Json file in Resources Levels"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path folder = DataTest::Scratch() / c.what;
        std::filesystem::create_directories(folder);
        const std::filesystem::path locked = folder / "Locked.json";
        TestSupport::WriteFile(locked, GoodLevel);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::others_read);
        const std::size_t before = DataTest::ErrorLines().size();
        c.save(locked);
        EXPECT_EQ(TestSupport::ReadFile(locked), GoodLevel);
        const std::vector<std::string> errors = DataTest::ErrorLines();
        EXPECT_EQ(std::count_if(errors.begin() + static_cast<std::ptrdiff_t>(before), errors.end(),
                                [&](const std::string& line) { return line.ends_with(c.refusal); }),
                  1);

        const std::filesystem::path real = folder / "Real.json";
        const std::filesystem::path link = folder / "Link.json";
        TestSupport::WriteFile(real, GoodLevel);
        std::filesystem::create_symlink("Real.json", link);
        c.save(link);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_NE(TestSupport::ReadFile(real), GoodLevel);  // written: the saved text is the writer's own
    }
}

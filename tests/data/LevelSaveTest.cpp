// Level saving: the live world in id order, the player under "APlayer", the file layout,
// the round trip through loading, objects that share a name, and saves that cannot finish.
#include "DataTestSupport.h"

#include "TestSupport.h"

#include "core/ComponentStore.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/HeatMap.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Log.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>

using namespace Engine;
using DataTest::ObjectNames;
using Json = nlohmann::json;

namespace {

using Names = std::vector<std::string>;

class LevelSave : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        Camera::Instance()->followedObjectId = 0;
    }

    // Makes the scratch copy of a fixture the current level.
    std::filesystem::path UseCopyOf(const std::string& fixture)
    {
        const std::filesystem::path copy = DataTest::CopyFixture(fixture);
        DataTest::ListLevel("Level 1", copy);
        levels.currentLevel = "Level 1";
        return copy;
    }

    // An object made by hand joins the level as the editor's objects do; an object that code
    // makes otherwise is play's, and is not saved.
    std::uint32_t Create(const std::string& name, float x)
    {
        const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(name);
        store.AddComponent<Transform>(id);
        store.GetComponent<Transform>(id)->x_pos = x;
        levels.KeepInLevel(id);
        return id;
    }

    LevelManager& levels = LevelManager::Instance();
    ComponentStore& store = ComponentStore::Instance();
};

}  // namespace

TEST_F(LevelSave, WritesThePlayerUnderAPlayerPrettyPrintedWithoutATrailingNewline)
{
    const std::filesystem::path file = UseCopyOf("EmptyObject.json");
    levels.KeepInLevel(GameObjectTable::Instance().CreateGameObject("Marker"));
    const std::uint32_t player = Create("Player", 90.0f);
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
    store.AddComponent<EventSet>(player);
    store.GetComponent<EventSet>(player)->events["Top Collision"] = {"A", "B"};
    store.GetComponent<Transform>(player)->rot = 0.1f;

    levels.SaveLevel();

    const std::string text = TestSupport::ReadFile(file);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.back(), '\n');
    const Json document = Json::parse(text);
    EXPECT_EQ(document.dump(4), text);  // the library's layout with an indentation of 4
    EXPECT_EQ(document["APlayer"]["Handle"], "Player");
    EXPECT_EQ(document["Marker"], (Json{{"Handle", "Marker"}}));
    EXPECT_EQ(document["APlayer"]["Events"]["Top Collision"], Json::parse(R"([["A"], ["B"]])"));
    EXPECT_EQ(document["APlayer"]["Transform"]["Rotation"][0].get<double>(), static_cast<double>(0.1f));
    EXPECT_FALSE(document.contains("Player"));
    const std::vector<std::string> lines = DataTest::LogLines();
    EXPECT_NE(lines.back().find("[debug] Saving Level"), std::string::npos);
}

TEST_F(LevelSave, RoundTripKeepsStoredFieldsComponentsAndEventOrder)
{
    const std::filesystem::path file = UseCopyOf("EveryComponent.json");
    levels.LoadLevel("Level 1");
    const std::uint32_t player = DataTest::IdOf("Player");
    const std::uint32_t marker = DataTest::IdOf("Marker");
    // Neither a heat-map tag nor an event set without handlers is stored.
    store.AddComponent<HeatMap>(player);
    store.AddComponent<EventSet>(marker);
    store.GetComponent<EventSet>(marker)->events["Top Collision"] = {};
    const Json before = Json::parse(TestSupport::ReadFile(DataTest::Fixture("EveryComponent.json")));

    levels.SaveLevel();
    const Json saved = Json::parse(TestSupport::ReadFile(file));
    levels.LoadLevel("Level 1");

    EXPECT_EQ(ObjectNames(), (Names{"Player", "Marker"}));
    EXPECT_EQ(store.GetComponent<HeatMap>(0), nullptr);
    EXPECT_EQ(store.GetComponent<EventSet>(1), nullptr);
    EXPECT_FALSE(saved["Marker"].contains("Events"));
    // Nothing stored was edited, so every member is the file's own, number forms included:
    // MeshIndex 2.9 and Weight 3, which the world holds as 2 and 3.0.
    EXPECT_EQ(saved, before) << saved.dump(4);
    EXPECT_EQ(saved["APlayer"]["Sprite"]["MeshIndex"][0].dump(), "2.9");
    EXPECT_EQ(store.GetComponent<EventSet>(0)->events.at("Top Collision"), (Names{"B", "A", "B"}));

    levels.SaveLevel();  // a second round changes nothing
    EXPECT_EQ(Json::parse(TestSupport::ReadFile(file)), saved);

    // An edited field is written from the world; the fields beside it stay the file's.
    store.GetComponent<RigidBody>(player)->Weight = 0.1f;
    levels.SaveLevel();
    Json expected = before;
    expected["APlayer"]["RigidBody"]["Weight"] = Json::array({static_cast<double>(0.1f)});
    EXPECT_EQ(Json::parse(TestSupport::ReadFile(file)), expected);
}

TEST_F(LevelSave, EmptyWorldWritesNullWhichLoadsAsNoObjects)
{
    const std::filesystem::path file = UseCopyOf("Ordered.json");
    levels.SaveLevel();
    EXPECT_EQ(TestSupport::ReadFile(file), "null");

    GameObjectTable::Instance().CreateGameObject("Leftover");
    levels.LoadLevel("Level 1");
    EXPECT_TRUE(ObjectNames().empty());
}

TEST_F(LevelSave, ObjectsThatShareANameEachKeepTheirOwnEntry)
{
    const std::filesystem::path file = UseCopyOf("EmptyObject.json");
    Create("Enemy", 1.0f);
    const std::uint32_t player = Create("Player", 2.0f);
    Create("Enemy", 3.0f);
    Create("APlayer", 4.0f);  // not followed: must not take the player's key
    Create("Enemy", 5.0f);
    Create("Enemy #00002", 6.0f);  // a name that looks like a numbered key
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);

    levels.SaveLevel();
    const Json saved = Json::parse(TestSupport::ReadFile(file));
    Names keys;
    for (const auto& [key, entry] : saved.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (Names{"APlayer", "APlayer #00002", "Enemy", "Enemy #00002", "Enemy #00002 #00002", "Enemy #00003"}));

    levels.LoadLevel("Level 1");
    // Every object is back, each with its own position, same-named ones in their old order.
    EXPECT_EQ(ObjectNames(), (Names{"Player", "APlayer", "Enemy", "Enemy", "Enemy #00002", "Enemy"}));
    std::vector<float> xs;
    for (std::uint32_t id = 0; id < 6; ++id)
        xs.push_back(store.GetComponent<Transform>(id)->x_pos);
    EXPECT_EQ(xs, (std::vector<float>{2.0f, 4.0f, 1.0f, 3.0f, 6.0f, 5.0f}));
}

TEST_F(LevelSave, FailedReplaceLeavesTheOldFileIntact)
{
    const std::filesystem::path file = UseCopyOf("Ordered.json");
    const std::string old = TestSupport::ReadFile(file);
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(InvalidObjectId);
    Create("Newcomer", 1.0f);
    std::string waiting;
    std::filesystem::path temporary;
    levels.replaceFile = [&](const std::filesystem::path& from, const std::filesystem::path&, std::error_code& error) {
        // The interruption: the new text is complete beside the target but never moved over it.
        temporary = from;
        waiting = TestSupport::ReadFile(from);
        error = std::make_error_code(std::errc::io_error);
    };

    levels.SaveLevel();

    EXPECT_EQ(temporary.parent_path(), file.parent_path());
    EXPECT_EQ(Json::parse(waiting)["Newcomer"]["Handle"], "Newcomer") << waiting;
    EXPECT_EQ(TestSupport::ReadFile(file), old);
    EXPECT_FALSE(std::filesystem::exists(temporary));
    const std::vector<std::string> errors = DataTest::ErrorLines();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("Could not save " + file.string()), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("the old file is kept"), std::string::npos) << errors[0];
    EXPECT_TRUE(errors[1].ends_with("Could not save level \"Level 1\" to " + file.string() + ": Input/output error")) << errors[1];
}

TEST_F(LevelSave, UnlistedLevelOrUnwritableFolderWritesNothing)
{
    Create("Someone", 1.0f);
    const std::filesystem::path nowhere = DataTest::Scratch() / "no such folder" / "Level.json";
    DataTest::ListLevel("Elsewhere", nowhere);
    struct Case {
        std::string level;
        std::string why;  // the line before the usual one: which level, and the system's reason
    };
    const std::vector<Case> cases = {
        {"Not Listed", "[error] Could not save level \"Not Listed\": it is not in the level list"},
        {"Elsewhere", "[error] Could not save level \"Elsewhere\" to " + nowhere.string() + ": No such file or directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        levels.currentLevel = c.level;
        const std::size_t errorsBefore = DataTest::ErrorLines().size();
        levels.SaveLevel();
        const std::vector<std::string> errors = DataTest::ErrorLines();
        ASSERT_EQ(errors.size(), errorsBefore + 2);
        EXPECT_TRUE(errors[errors.size() - 2].ends_with(c.why)) << errors[errors.size() - 2];
        EXPECT_TRUE(errors.back().ends_with("[error] Could not find the Level 1 Json file in Resources Levels")) << errors.back();
    }
    EXPECT_FALSE(std::filesystem::exists(nowhere.parent_path()));
}

TEST_F(LevelSave, NameThatIsNotUtf8StillSaves)
{
    const std::filesystem::path file = UseCopyOf("EmptyObject.json");
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(InvalidObjectId);
    Create("Broken\xff", 1.0f);

    levels.SaveLevel();

    // The byte the library cannot write becomes U+FFFD; the rest of the level is saved.
    const Json saved = Json::parse(TestSupport::ReadFile(file));
    EXPECT_EQ(saved["Broken\xEF\xBF\xBD"]["Handle"], "Broken\xEF\xBF\xBD");
    EXPECT_TRUE(DataTest::ErrorLines().empty());
}

TEST_F(LevelSave, ASaveStraightAfterLoadingLevelOneLeavesEveryObjectAsItWas)
{
    const std::filesystem::path file = DataTest::Scratch() / "Level1.json";
    std::filesystem::copy_file(std::filesystem::path(VANTREL_SOURCE_DIR) / "Resources/Levels/Level1.json", file);
    DataTest::ListLevel("Level 1", file);
    const Json before = Json::parse(TestSupport::ReadFile(file));
    levels.LoadLevel("Level 1");
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(DataTest::IdOf("Player"));

    levels.SaveLevel();

    // Keys follow the names (the player's is "APlayer"), so they are compared apart; every
    // entry holds what it held, numbers such as 189.33333333333334 included, which the world
    // holds only to single precision.
    const Json saved = Json::parse(TestSupport::ReadFile(file));
    auto byName = [](const Json& document) {
        std::map<std::string, Json> entries;
        for (const auto& [key, entry] : document.items())
            entries.emplace(entry.at("Handle").get<std::string>(), entry);
        return entries;
    };
    ASSERT_EQ(saved.size(), before.size());
    const std::map<std::string, Json> savedEntries = byName(saved);
    for (const auto& [name, entry] : byName(before)) {
        ASSERT_EQ(savedEntries.count(name), 1u) << name;
        EXPECT_EQ(savedEntries.at(name), entry) << name;
    }
    for (const auto& [key, entry] : saved.items())
        EXPECT_EQ(key, entry["Handle"] == "Player" ? "APlayer" : entry["Handle"].get<std::string>());
}

// The save writes the level, not the play: what play changes or makes is not written, the
// designer's edits are, also after play has gone on, and what play removed stays in the level.
TEST_F(LevelSave, PlayIsNotSavedAndEditsAre)
{
    const std::filesystem::path file = UseCopyOf("EveryComponent.json");
    const Json before = Json::parse(TestSupport::ReadFile(file));
    levels.LoadLevel("Level 1");
    const std::uint32_t player = DataTest::IdOf("Player");
    const std::uint32_t marker = DataTest::IdOf("Marker");
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
    Transform& place = *store.GetComponent<Transform>(player);
    Sprite& picture = *store.GetComponent<Sprite>(player);
    auto play = [&](float x, const char* image) {
        place.x_pos = x;
        picture.Texture = image;
        const std::uint32_t bullet = GameObjectTable::Instance().CreateGameObject("Bullet");
        store.AddComponent<Transform>(bullet);
    };

    // Play: the player runs and changes its picture, a bullet flies, the marker is shot down.
    play(400.0f, "PlayerRun2R.png");
    GameObjectTable::Instance().RemoveGameObject(marker);
    // The editor opens; the designer lifts the player and gives it a colour.
    levels.PlayStopped();
    place.y_pos = 950.0f;
    picture.Color[0] = 0.125f;
    levels.KeepEdits();
    // The editor closes, play goes on, the editor opens again and the level is saved.
    play(700.0f, "PlayerJumpR.png");
    levels.PlayStopped();
    levels.SaveLevel();

    Json expected = before;
    expected["APlayer"]["Transform"]["PosY"] = Json::array({950.0});
    expected["APlayer"]["Sprite"]["Color"]["X"] = 0.125;
    EXPECT_EQ(Json::parse(TestSupport::ReadFile(file)), expected);

    // An object the designer adds is saved as it is; one the designer removes is gone.
    const std::uint32_t crate = Create("Crate", 5.0f);
    levels.DropFromLevel(player);
    GameObjectTable::Instance().RemoveGameObject(player);
    levels.SaveLevel();
    const Json saved = Json::parse(TestSupport::ReadFile(file));
    Names keys;
    for (const auto& [key, entry] : saved.items())
        keys.push_back(key);
    EXPECT_EQ(keys, (Names{"Crate", "Marker"}));
    EXPECT_EQ(saved["Crate"]["Transform"]["PosX"][0], 5.0);
    EXPECT_EQ(saved["Marker"], before["Marker"]);
    EXPECT_NE(GameObjectTable::Instance().Get(crate), nullptr);
}

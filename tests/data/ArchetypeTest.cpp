// Archetypes: records read from the archetype file with the "BodyType" rule, saved into the
// entry of the object's name and deleted by name; a file that is missing, malformed or cannot
// be replaced loses nothing.
#include "DataTestSupport.h"

#include "TestSupport.h"

#include "core/ComponentStore.h"
#include "core/Checkpoint.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Transform.h"
#include "data/LevelManager.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace Engine;
using Json = nlohmann::json;

namespace {

using Names = std::vector<std::string>;

class Archetypes : public testing::Test {
protected:
    // Every line, repeats too: these tests count what each operation logs.
    void SetUp() override { InitializeLogging({.repeatWindow = {}}); }

    std::filesystem::path UseCopyOf(const std::string& fixture)
    {
        levels.archetypePath = DataTest::CopyFixture(fixture);
        return levels.archetypePath;
    }

    const ArchetypeRecord* Find(const std::string& name) const
    {
        for (const auto& record : levels.archetypes) {
            if (record->name == name)
                return record.get();
        }
        return nullptr;
    }

    Names RecordNames() const
    {
        Names names;
        for (const auto& record : levels.archetypes)
            names.push_back(record->name);
        return names;
    }

    std::uint32_t CreateEnemy(float x)
    {
        const std::uint32_t id = GameObjectTable::Instance().CreateGameObject("Enemy");
        store.AddComponent<Transform>(id);
        store.GetComponent<Transform>(id)->x_pos = x;
        return id;
    }

    LevelManager& levels = LevelManager::Instance();
    ComponentStore& store = ComponentStore::Instance();
};

}  // namespace

TEST_F(Archetypes, RecordsInKeyOrderUnderTheirHandleNames)
{
    UseCopyOf("Archetypes.json");
    levels.LoadArchetypes();

    EXPECT_EQ(RecordNames(), (Names{"Enemy", "Other", "MinusOne", "Seven", "SevenWithoutCollider", "Two", "Walker"}));
    const ArchetypeRecord* walker = Find("Walker");
    ASSERT_NE(walker, nullptr);
    EXPECT_FLOAT_EQ(walker->transform.rot, 6.0f);
    EXPECT_FLOAT_EQ(walker->sprite.Color[3], 0.4f);
    EXPECT_EQ(walker->sprite.Texture, "Walker.png");
    EXPECT_EQ(walker->parallax.Level, 2);
    EXPECT_EQ(walker->animation.Handle, "Walk");
    EXPECT_EQ(walker->eventSet.events.at("OnCollision"), (Names{"Hurt", "Bounce"}));
    EXPECT_EQ(walker->eventSet.events.at("InRange"), (Names{"Shoot"}));
    EXPECT_TRUE(walker->eventSet.events.at("Idle").empty());  // listed, though it has no handler
    EXPECT_FLOAT_EQ(walker->range.speed, 900.0f);
    EXPECT_EQ(walker->range.fireInterval, 2000);
}

TEST_F(Archetypes, OnlyHandleGivesEveryInitialValue)
{
    UseCopyOf("Archetypes.json");
    levels.LoadArchetypes();

    const ArchetypeRecord* enemy = Find("Enemy");
    ASSERT_NE(enemy, nullptr);
    const ArchetypeRecord fresh;
    EXPECT_EQ(fresh.name, "Name");
    EXPECT_FLOAT_EQ(enemy->transform.x_sca, 1.0f);
    EXPECT_FLOAT_EQ(enemy->transform.x_pos, 0.0f);
    EXPECT_FLOAT_EQ(enemy->sprite.Color[0], 1.0f);
    EXPECT_TRUE(enemy->sprite.Texture.empty());
    EXPECT_EQ(enemy->rigidBody.BodyType, 0);
    EXPECT_FALSE(enemy->rigidBody.Ghost);
    EXPECT_FLOAT_EQ(enemy->controller.maxvelx, 450.0f);
    EXPECT_EQ(enemy->parallax.Level, fresh.parallax.Level);
    EXPECT_TRUE(enemy->animation.Handle.empty());
    EXPECT_TRUE(enemy->eventSet.events.empty());
    EXPECT_FLOAT_EQ(enemy->range.range, 0.0f);
    EXPECT_FLOAT_EQ(enemy->range.speed, 1000.0f);
    EXPECT_EQ(enemy->instanceCount, 0u);
    EXPECT_EQ(enemy->transform.owner, 0u);
}

TEST_F(Archetypes, BodyTypeOfFiveOrMoreLoadsAsStaticBox)
{
    UseCopyOf("Archetypes.json");
    levels.LoadArchetypes();

    struct Case {
        std::string name;
        std::int32_t bodyType;
        std::int32_t colliderType;
        bool ghost;
    };
    const std::vector<Case> cases = {
        {"Seven", 0, 0, true},
        {"SevenWithoutCollider", 0, 0, false},  // "ColliderType" is not even read
        {"Two", 2, 1, false},
        {"MinusOne", -1, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ArchetypeRecord* record = Find(c.name);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->rigidBody.BodyType, c.bodyType);
        EXPECT_EQ(record->rigidBody.ColliderType, c.colliderType);
        EXPECT_EQ(record->rigidBody.Ghost, c.ghost);
        EXPECT_FLOAT_EQ(record->rigidBody.bottom, c.name == "SevenWithoutCollider" ? 0.0f : -4.0f);
    }
    EXPECT_TRUE(DataTest::ErrorLines().empty());
}

TEST_F(Archetypes, SavingTwiceKeepsOneEntryAndOneRecord)
{
    const std::filesystem::path file = UseCopyOf("EmptyObject.json");
    const std::uint32_t first = CreateEnemy(10.0f);
    levels.SaveArchetype(first);
    const std::uint32_t second = CreateEnemy(20.0f);
    store.AddComponent<Controller>(second);
    levels.SaveArchetype(second);

    const Json saved = Json::parse(TestSupport::ReadFile(file));
    EXPECT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved["Enemy"]["Handle"], "Enemy");
    EXPECT_EQ(saved["Enemy"]["Transform"]["PosX"], Json::array({20.0}));
    EXPECT_EQ(saved["Enemy"]["Controller"], (Json{{"Exists", Json::array({true})}}));
    EXPECT_EQ(RecordNames(), (Names{"Enemy"}));
    EXPECT_FLOAT_EQ(levels.archetypes.front()->transform.x_pos, 20.0f);
}

TEST_F(Archetypes, SaveWritesIntoTheExistingEntryAndNeverACheckpoint)
{
    const std::filesystem::path file = UseCopyOf("Archetypes.json");
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject("Walker");
    store.AddComponent<Transform>(id);
    store.AddComponent<Checkpoint>(id);
    store.AddComponent<EventSet>(id);
    store.GetComponent<EventSet>(id)->events["OnCollision"] = {"Explode"};

    levels.SaveArchetype(id);

    const Json walker = Json::parse(TestSupport::ReadFile(file))["Walker"];
    EXPECT_EQ(walker["Transform"]["PosX"], Json::array({0.0}));
    // Members the object does not write stay from the older entry, item by item.
    EXPECT_EQ(walker["Sprite"]["Texture"], Json::array({"Walker.png"}));
    EXPECT_EQ(walker["Events"]["OnCollision"], Json::parse(R"([["Explode"], ["Bounce"]])"));
    EXPECT_EQ(walker["Checkpoint"], (Json{{"PosX", "not read at all"}}));
}

TEST_F(Archetypes, MissingFileReportsAndCreatesNone)
{
    const std::filesystem::path missing = DataTest::Scratch() / "ArchetypeList.json";
    levels.archetypePath = missing;
    const std::uint32_t id = CreateEnemy(1.0f);
    levels.LoadArchetypes();
    levels.SaveArchetype(id);

    const std::vector<std::string> errors = DataTest::ErrorLines();
    ASSERT_EQ(errors.size(), 2u);
    for (const std::string& error : errors)
        EXPECT_TRUE(error.ends_with("[error] Could not find the ArchetypeList json file in Resources/Archetypes")) << error;
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(levels.archetypes.empty());
}

TEST_F(Archetypes, DeleteRemovesTheFirstRecordAndTheEntryOfThatKey)
{
    const std::filesystem::path file = UseCopyOf("Archetypes.json");
    levels.LoadArchetypes();
    const std::string original = TestSupport::ReadFile(file);

    levels.DeleteArchetype("Key");  // a key, but no record bears that name: nothing at all
    EXPECT_EQ(TestSupport::ReadFile(file), original);
    EXPECT_EQ(levels.archetypes.size(), 7u);

    levels.DeleteArchetype("Other");  // the record goes; the file has no entry "Other"
    EXPECT_EQ(Find("Other"), nullptr);
    EXPECT_TRUE(Json::parse(TestSupport::ReadFile(file)).contains("Key"));

    levels.DeleteArchetype("Seven");
    const Json after = Json::parse(TestSupport::ReadFile(file));
    EXPECT_FALSE(after.contains("Seven"));
    EXPECT_TRUE(after.contains("SevenWithoutCollider"));
    EXPECT_EQ(RecordNames(), (Names{"Enemy", "MinusOne", "SevenWithoutCollider", "Two", "Walker"}));
    EXPECT_TRUE(DataTest::ErrorLines().empty());
}

TEST_F(Archetypes, FailedReplaceOnSaveOrDeleteKeepsTheOldFile)
{
    const std::filesystem::path file = UseCopyOf("Archetypes.json");
    levels.LoadArchetypes();
    const std::string original = TestSupport::ReadFile(file);
    levels.replaceFile = [](const std::filesystem::path&, const std::filesystem::path&, std::error_code& error) {
        error = std::make_error_code(std::errc::no_space_on_device);
    };

    levels.SaveArchetype(CreateEnemy(5.0f));
    levels.DeleteArchetype("Walker");

    EXPECT_EQ(TestSupport::ReadFile(file), original);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".saving"));
    EXPECT_EQ(DataTest::ErrorLines().size(), 2u);
    EXPECT_EQ(Find("Walker"), nullptr);  // the list is not reloaded after a failed delete
    EXPECT_NE(Find("Two"), nullptr);
}

// Before, the first faulty archetype ended the reading: the ones after it were not loaded.
TEST_F(Archetypes, AFaultyArchetypeIsSkippedWithALineAndTheOthersLoad)
{
    const std::filesystem::path file = UseCopyOf("malformed/Archetypes.json");
    levels.LoadArchetypes();

    EXPECT_EQ(RecordNames(), (Names{"Alpha", "Gamma"}));
    std::vector<std::string> errors = DataTest::ErrorLines();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(errors[0].ends_with(file.string() + ": expected a number at \"Beta\" > \"Range\" > \"BulletSpeed\"")) << errors[0];
    EXPECT_TRUE(errors[1].ends_with("The archetype \"Beta\" of " + file.string() + " is skipped; the others are loaded")) << errors[1];

    TestSupport::WriteFile(file, "{\"Enemy\": 3}");
    levels.SaveArchetype(CreateEnemy(1.0f));  // the entry of that name is not an object
    errors = DataTest::ErrorLines();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_TRUE(errors.back().ends_with(": expected an object at \"Enemy\"")) << errors.back();
    EXPECT_EQ(TestSupport::ReadFile(file), "{\"Enemy\": 3}");
    EXPECT_EQ(RecordNames(), (Names{"Alpha", "Gamma"}));  // not reloaded
}

// One faulty record among the seven good ones of the fixture: the seven load, and a later save
// keeps the faulty record as it stood or, when it cannot be read at all, writes nothing.
TEST_F(Archetypes, OneFaultyRecordCostsOnlyItselfAndASaveLosesNothingOfIt)
{
    std::string deep = "0";
    for (int level = 0; level < 1000; ++level)
        deep = "{\"More\": " + deep + "}";
    struct Case {
        const char* what;
        std::string record;
        std::string error;  // the end of the line that names the record
        bool saveRefused;
    };
    const std::vector<Case> cases = {
        {"a deeply nested unknown member", "{\"Handle\": \"Faulty\", \"Notes\": " + deep + "}",
         ": the archetype \"Faulty\" is nested deeper than 128 levels; it is skipped", true},
        {"a required member missing", "{\"Handle\": \"Faulty\", \"Range\": {\"Range\": [1.0]}}",
         " is skipped; the others are loaded", false},
    };
    const Names seven = {"Enemy", "Other", "MinusOne", "Seven", "SevenWithoutCollider", "Two", "Walker"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::filesystem::path file = UseCopyOf("Archetypes.json");
        std::string text = TestSupport::ReadFile(file);
        // "Faulty" sorts between "Enemy" and "Key": most of the good records come after it.
        text.insert(text.find('{') + 1, "\n    \"Faulty\": " + c.record + ",");
        TestSupport::WriteFile(file, text);
        const std::size_t errorsBefore = DataTest::ErrorLines().size();

        levels.LoadArchetypes();
        EXPECT_EQ(RecordNames(), seven);
        const std::vector<std::string> errors = DataTest::ErrorLines();
        ASSERT_GT(errors.size(), errorsBefore);
        EXPECT_TRUE(errors.back().ends_with(c.error)) << errors.back();
        EXPECT_NE(errors.back().find("Faulty"), std::string::npos) << errors.back();

        levels.SaveArchetype(CreateEnemy(5.0f));
        if (c.saveRefused) {
            EXPECT_EQ(TestSupport::ReadFile(file), text);
            EXPECT_EQ(RecordNames(), seven);
        } else {
            const Json saved = Json::parse(TestSupport::ReadFile(file));
            EXPECT_EQ(saved.at("Faulty"), Json::parse(c.record));
            EXPECT_FLOAT_EQ(saved.at("Enemy").at("Transform").at("PosX").at(0).get<float>(), 5.0f);
            EXPECT_EQ(RecordNames(), seven);  // reloaded: the faulty one is skipped again
        }
        GameObjectTable::Instance().RemoveGameObject(GameObjectTable::Instance().FindGameObject("Enemy"));
    }
}

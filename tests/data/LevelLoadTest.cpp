// Level loading: objects in byte order of their keys, components from the entries, the
// kill-zone effects, "Spawn HeatMap" on the player and the new trail; malformed files stop
// the load at the fault with one error line and keep what was read before it.
#include "DataTestSupport.h"

#include "TestSupport.h"
#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "graphics/Camera.h"
#include "scripting/ScriptManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

using namespace Engine;
using DataTest::Fixture;
using DataTest::ObjectNames;

namespace {

using Names = std::vector<std::string>;

class LevelLoad : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        SystemManager::Instance();  // start-up lines of the systems are not the loader's
        Camera::Instance()->followedObjectId = 0;
    }

    // Loads a fixture under its own name and returns the name.
    std::string Load(const std::string& fixture)
    {
        DataTest::ListLevel(fixture, Fixture(fixture));
        levels.LoadLevel(fixture);
        return fixture;
    }

    static std::size_t ActiveTimers()
    {
        const auto& timers = GetSystem<TimerDatabase>()->timers;
        return static_cast<std::size_t>(std::count_if(timers.begin(), timers.end(), [](const auto& t) { return t->active; }));
    }

    LevelManager& levels = LevelManager::Instance();
    ComponentStore& store = ComponentStore::Instance();
};

}  // namespace

TEST_F(LevelLoad, EntriesBecomeObjectsInByteOrderOfTheirKeys)
{
    Load("Ordered.json");

    EXPECT_EQ(ObjectNames(), (Names{"Player", "Background", "Enemy"}));
    const Transform* transform = store.GetComponent<Transform>(0);
    ASSERT_NE(transform, nullptr);
    EXPECT_FLOAT_EQ(transform->x_pos, 90.0f);
    EXPECT_FLOAT_EQ(transform->y_pos, 900.0f);  // an integer in a float field is converted
    EXPECT_FLOAT_EQ(transform->rot, 0.5f);
    const Controller* controller = store.GetComponent<Controller>(0);
    ASSERT_NE(controller, nullptr);  // "Controller": {} is enough
    EXPECT_FLOAT_EQ(controller->maxvelx, 450.0f);
    EXPECT_EQ(store.GetComponent<Transform>(1), nullptr);  // an entry with only "Handle"
    const Range* range = store.GetComponent<Range>(2);
    ASSERT_NE(range, nullptr);
    EXPECT_FLOAT_EQ(range->speed, 700.0f);
    EXPECT_EQ(range->fireInterval, 2000);
    EXPECT_EQ(levels.currentLevel, "Ordered.json");
}

TEST_F(LevelLoad, EveryComponentIsReadWithItsFields)
{
    Load("EveryComponent.json");

    const std::uint32_t player = DataTest::IdOf("Player");
    const Sprite* sprite = store.GetComponent<Sprite>(player);
    ASSERT_NE(sprite, nullptr);
    EXPECT_FLOAT_EQ(sprite->Color[0], 0.5f);
    EXPECT_FLOAT_EQ(sprite->Color[2], 1.0f);
    EXPECT_FLOAT_EQ(sprite->Color[3], 0.75f);
    EXPECT_EQ(sprite->MeshIndex, 2);  // 2.9 truncates toward zero
    EXPECT_EQ(sprite->Texture, "Player.png");
    const RigidBody* body = store.GetComponent<RigidBody>(player);
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->left, -25.0f);
    EXPECT_FLOAT_EQ(body->Weight, 3.0f);
    EXPECT_EQ(body->BodyType, 1);
    EXPECT_TRUE(body->Ghost);
    const Parallax* parallax = store.GetComponent<Parallax>(player);
    ASSERT_NE(parallax, nullptr);
    EXPECT_EQ(parallax->Level, 3);
    EXPECT_FLOAT_EQ(parallax->PosY, 20.0f);
    const Animation* animation = store.GetComponent<Animation>(player);
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ(animation->Handle, "PlayerIdle");
    EXPECT_FALSE(animation->playing);
    const Checkpoint* checkpoint = store.GetComponent<Checkpoint>(player);
    ASSERT_NE(checkpoint, nullptr);
    EXPECT_FLOAT_EQ(checkpoint->x, 120.0f);
    EXPECT_FLOAT_EQ(checkpoint->y, 640.0f);
    const EventSet* events = store.GetComponent<EventSet>(player);
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->events.at("Top Collision"), (Names{"B", "A", "B"}));
    EXPECT_EQ(events->events.at("Bottom Collision"), (Names{"IsGrounded"}));
}

// Each field of this entry has a value of its own, so a field read into another member shows,
// by the scanner's road and by the general reader's (a repeated "Handle" is left to it).
TEST_F(LevelLoad, EveryStoredFieldReachesItsOwnMember)
{
    struct Case {
        const char* field;
        double expected;
        std::function<double(std::uint32_t)> member;
    };
    const auto transform = [this](std::uint32_t id) { return store.GetComponent<Transform>(id); };
    const auto sprite = [this](std::uint32_t id) { return store.GetComponent<Sprite>(id); };
    const auto body = [this](std::uint32_t id) { return store.GetComponent<RigidBody>(id); };
    const auto parallax = [this](std::uint32_t id) { return store.GetComponent<Parallax>(id); };
    const auto checkpoint = [this](std::uint32_t id) { return store.GetComponent<Checkpoint>(id); };
    const auto range = [this](std::uint32_t id) { return store.GetComponent<Range>(id); };
    const std::vector<Case> cases = {
        {"Transform PosX", 1, [&](std::uint32_t id) { return transform(id)->x_pos; }},
        {"Transform PosY", 2, [&](std::uint32_t id) { return transform(id)->y_pos; }},
        {"Transform PosZ", 3, [&](std::uint32_t id) { return transform(id)->z_pos; }},
        {"Transform ScaleX", 4, [&](std::uint32_t id) { return transform(id)->x_sca; }},
        {"Transform ScaleY", 5, [&](std::uint32_t id) { return transform(id)->y_sca; }},
        {"Transform Rotation", 6, [&](std::uint32_t id) { return transform(id)->rot; }},
        {"Sprite Color X", 0.125, [&](std::uint32_t id) { return sprite(id)->Color[0]; }},
        {"Sprite Color Y", 0.25, [&](std::uint32_t id) { return sprite(id)->Color[1]; }},
        {"Sprite Color Z", 0.375, [&](std::uint32_t id) { return sprite(id)->Color[2]; }},
        {"Sprite Color W", 0.5, [&](std::uint32_t id) { return sprite(id)->Color[3]; }},
        {"Sprite MeshIndex", 7, [&](std::uint32_t id) { return sprite(id)->MeshIndex; }},
        {"RigidBody Left", -8, [&](std::uint32_t id) { return body(id)->left; }},
        {"RigidBody Top", 9, [&](std::uint32_t id) { return body(id)->top; }},
        {"RigidBody Right", 10, [&](std::uint32_t id) { return body(id)->right; }},
        {"RigidBody Bottom", -11, [&](std::uint32_t id) { return body(id)->bottom; }},
        {"RigidBody Weight", 12, [&](std::uint32_t id) { return body(id)->Weight; }},
        {"RigidBody BodyType", 2, [&](std::uint32_t id) { return body(id)->BodyType; }},
        {"RigidBody ColliderType", 1, [&](std::uint32_t id) { return body(id)->ColliderType; }},
        {"RigidBody Ghost", 1, [&](std::uint32_t id) { return body(id)->Ghost ? 1 : 0; }},
        {"Parallax PosX", 13, [&](std::uint32_t id) { return parallax(id)->PosX; }},
        {"Parallax PosY", 14, [&](std::uint32_t id) { return parallax(id)->PosY; }},
        {"Parallax Level", 4, [&](std::uint32_t id) { return parallax(id)->Level; }},
        {"Checkpoint PosX", 15, [&](std::uint32_t id) { return checkpoint(id)->x; }},
        {"Checkpoint PosY", 16, [&](std::uint32_t id) { return checkpoint(id)->y; }},
        {"Range Range", 17, [&](std::uint32_t id) { return range(id)->range; }},
        {"Range BulletSpeed", 18, [&](std::uint32_t id) { return range(id)->speed; }},
    };
    // The camera follows no object here, so the loads queue no "Spawn HeatMap" scripts.
    Camera::Instance()->followedObjectId = static_cast<std::int32_t>(MaxGameObjects) - 1;
    const std::string text = TestSupport::ReadFile(Fixture("DistinctFields.json"));
    const std::string repeated = "\"Handle\": \"Thing\"";
    std::string general = text;
    general.replace(general.find(repeated), repeated.size(), repeated + ", " + repeated);
    const std::filesystem::path generalFile = DataTest::Scratch() / "DistinctFieldsGeneral.json";
    std::ofstream(generalFile, std::ios::binary) << general;
    DataTest::ListLevel("DistinctFieldsGeneral", generalFile);

    for (const std::string& level : {Load("DistinctFields.json"), std::string("DistinctFieldsGeneral")}) {
        SCOPED_TRACE(level);
        levels.LoadLevel(level);
        const std::uint32_t id = DataTest::IdOf("Thing");
        for (const Case& c : cases)
            EXPECT_DOUBLE_EQ(c.member(id), c.expected) << c.field;
        EXPECT_EQ(sprite(id)->Texture, "Thing.png");
        EXPECT_EQ(store.GetComponent<Animation>(id)->Handle, "ThingWalk");
    }
}

TEST_F(LevelLoad, LoadingTwiceGivesTheSameIds)
{
    const std::string level = Load("Ordered.json");
    GameObjectTable::Instance().CreateGameObject("Made at run time");
    levels.LoadLevel(level);

    EXPECT_EQ(ObjectNames(), (Names{"Player", "Background", "Enemy"}));
    EXPECT_EQ(GameObjectTable::Instance().nextFree, 3u);
}

TEST_F(LevelLoad, SpawnHeatMapIsRaisedOnTheFollowedObject)
{
    Camera::Instance()->followedObjectId = 0;  // "APlayer" sorts first, so the player is id 0
    Load("Ordered.json");

    const ScriptManager* scripts = GetSystem<ScriptManager>();
    ASSERT_EQ(scripts->runList.size(), scripts->runObjectIds.size());
    std::size_t queued = 0;
    for (std::size_t i = 0; i < scripts->runList.size(); ++i) {
        if (scripts->runList[i] == "SpawnHeatMap") {
            EXPECT_EQ(scripts->runObjectIds[i], 0u);
            ++queued;
        }
    }
    EXPECT_EQ(queued, 1u);
}

TEST_F(LevelLoad, NullAndEmptyFilesRemoveEveryObjectAndCreateNone)
{
    for (const std::string fixture : {"Null.json", "EmptyObject.json"}) {
        SCOPED_TRACE(fixture);
        GameObjectTable::Instance().CreateGameObject("Leftover");
        const std::size_t errorsBefore = DataTest::ErrorLines().size();
        Camera::Instance()->followedObjectId = 0;
        Load(fixture);

        EXPECT_TRUE(ObjectNames().empty());
        EXPECT_EQ(DataTest::ErrorLines().size(), errorsBefore);
        EXPECT_EQ(levels.currentLevel, fixture);
    }
}

TEST_F(LevelLoad, EveryKillZoneHandlerStartsOneDelayedEffect)
{
    Load("KillZones.json");

    // "Pit" holds the handler twice and "Spikes" once; an event named "KillZone" starts none.
    EXPECT_EQ(ActiveTimers(), 3u);
    for (const auto& timer : GetSystem<TimerDatabase>()->timers) {
        EXPECT_NE(dynamic_cast<const DelayCallTimer*>(timer.get()), nullptr);
        EXPECT_EQ(timer->remainingMs, 1000);
    }
    const EventSet* empty = store.GetComponent<EventSet>(DataTest::IdOf("Empty"));
    ASSERT_NE(empty, nullptr);  // "Events": {} still gives the object an event set
    EXPECT_TRUE(empty->events.empty());
    EXPECT_EQ(store.GetComponent<EventSet>(DataTest::IdOf("Pit"))->events.at("Top Collision"), (Names{"KillZone", "KillZone"}));
}

TEST_F(LevelLoad, UnlistedOrUnreadableLevelChangesNothing)
{
    Load("Ordered.json");
    DataTest::ListLevel("Gone", DataTest::Scratch() / "Gone.json");
    for (const std::string name : {"ordered.json", "Gone", "Nowhere"}) {
        SCOPED_TRACE(name);
        levels.LoadLevel(name);
        EXPECT_EQ(DataTest::ErrorLines().back().substr(DataTest::ErrorLines().back().find("[error] ") + 8),
                  "Could not find the loaded level's Json file in Resources Levels");
        EXPECT_EQ(ObjectNames(), (Names{"Player", "Background", "Enemy"}));
        EXPECT_EQ(levels.currentLevel, "Ordered.json");
    }
    const std::vector<std::string> lines = DataTest::LogLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("[debug] Attempting to load level: Nowhere") != std::string::npos;
    }));
}

TEST_F(LevelLoad, MalformedFilesStopAtTheFaultAndKeepWhatCameBefore)
{
    struct Case {
        std::string fixture;
        std::string error;  // the error line ends with this, after the file's path
        Names objects;      // the world after the load
    };
    const Names before{"Old"};
    const Names upToEnemy{"Player", "Enemy"};
    const std::vector<Case> cases = {
        {"NotJson.json", ": not well-formed JSON", before},
        {"TopLevelArray.json", ": expected an object at the top level", before},
        {"Unwrapped.json", ": expected a value wrapped in an array at \"Enemy\" > \"Transform\" > \"PosX\"", upToEnemy},
        {"EmptyArray.json", ": the array is empty at \"Enemy\" > \"Transform\" > \"PosY\"", upToEnemy},
        {"WrappedColor.json", ": expected a plain number at \"Enemy\" > \"Sprite\" > \"Color\" > \"X\"", upToEnemy},
        {"NoRotation.json", ": a required member is missing at \"Enemy\" > \"Transform\" > \"Rotation\"", upToEnemy},
        {"EventsNotArrays.json", ": expected an array at \"Enemy\" > \"Events\" > \"OnCollision\"", upToEnemy},
        {"EventsHandlerUnwrapped.json", ": expected a value wrapped in an array at \"Enemy\" > \"Events\" > \"OnCollision\" > \"item 0\"", upToEnemy},
        {"NoHandle.json", ": a required member is missing at \"Enemy\" > \"Handle\"", {"Player"}},
        {"GhostNotBool.json", ": expected true or false at \"Enemy\" > \"RigidBody\" > \"Ghost\"", upToEnemy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fixture);
        for (std::uint32_t id = 0; id < MaxGameObjects; ++id) {
            if (GameObjectTable::Instance().Get(id) != nullptr)
                GameObjectTable::Instance().RemoveGameObject(id);
        }
        GameObjectTable::Instance().CreateGameObject("Old");
        levels.currentLevel = "Old Level";
        const std::size_t errorsBefore = DataTest::ErrorLines().size();
        const std::filesystem::path file = Fixture("malformed/" + c.fixture);
        DataTest::ListLevel(c.fixture, file);
        levels.LoadLevel(c.fixture);

        const std::vector<std::string> errors = DataTest::ErrorLines();
        ASSERT_EQ(errors.size(), errorsBefore + 1);
        const std::string expected = "[error] Could not read " + file.string() + c.error;
        EXPECT_NE(errors.back().find(expected), std::string::npos) << errors.back();
        if (c.error.find("well-formed") == std::string::npos) {
            EXPECT_TRUE(errors.back().ends_with(c.error)) << errors.back();
        }
        EXPECT_EQ(ObjectNames(), c.objects);
        // A file that could not be read leaves the old level current and whole; one read in
        // part is current, marked as not whole.
        const bool oldWorldStays = c.objects == before;
        EXPECT_EQ(levels.currentLevel, oldWorldStays ? "Old Level" : c.fixture);
        EXPECT_EQ(levels.CurrentLevelLoadedWhole(), oldWorldStays);
    }
    // The last case: the fields read before the fault stay on the faulty entry's component.
    const RigidBody* body = store.GetComponent<RigidBody>(DataTest::IdOf("Enemy"));
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->BodyType, 1);

    // The program goes on: a good level loads afterwards.
    Load("Ordered.json");
    EXPECT_EQ(ObjectNames(), (Names{"Player", "Background", "Enemy"}));
    EXPECT_TRUE(levels.CurrentLevelLoadedWhole());
}

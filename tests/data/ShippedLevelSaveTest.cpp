// Saving the levels the game ships: a save straight after loading one writes the file back
// byte for byte, and a save after moving one object changes that object's entry alone, so
// that an edit in the editor shows in a diff as just what was edited.
#include "DataTestSupport.h"

#include "TestSupport.h"

#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/Transform.h"
#include "data/LevelManager.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

using namespace Engine;
using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

namespace {

const std::filesystem::path Root = VANTREL_SOURCE_DIR;

// Every level of the shipped list: the name the game loads it by and its file.
std::vector<std::pair<std::string, std::filesystem::path>> ShippedLevels()
{
    std::vector<std::pair<std::string, std::filesystem::path>> levels;
    const Json list = Json::parse(TestSupport::ReadFile(Root / "Resources/Levels/LevelNames.json"));
    for (const auto& [name, path] : list.items())
        levels.emplace_back(name, Root / path.get<std::string>());
    return levels;
}

class ShippedLevelSave : public testing::Test {
protected:
    void SetUp() override { InitializeLogging(); }

    // Loads a scratch copy of a shipped level as the game does, the camera on its "Player";
    // returns the copy's path.
    std::filesystem::path LoadCopy(const std::string& name, const std::filesystem::path& shipped)
    {
        const std::filesystem::path copy = DataTest::Scratch() / shipped.filename();
        std::filesystem::copy_file(shipped, copy, std::filesystem::copy_options::overwrite_existing);
        DataTest::ListLevel(name, copy);
        levels.LoadLevel(name);
        EXPECT_EQ(levels.currentLevel, name);
        const std::uint32_t player = GameObjectTable::Instance().FindGameObject("Player");
        Camera::Instance()->followedObjectId = static_cast<std::int32_t>(player);
        return copy;
    }

    LevelManager& levels = LevelManager::Instance();
};

// Where the entry of the key starts in a level file's text: the start of its line.
std::size_t EntryStart(const std::string& text, const std::string& key)
{
    const std::size_t at = text.find("\n    " + Json(key).dump() + ": {");
    return at == std::string::npos ? at : at + 1;
}

}  // namespace

TEST_F(ShippedLevelSave, ASaveStraightAfterLoadingLeavesEveryShippedLevelByteForByte)
{
    const auto shipped = ShippedLevels();
    ASSERT_GE(shipped.size(), 9u);
    for (const auto& [name, path] : shipped) {
        SCOPED_TRACE(name);
        const std::string before = TestSupport::ReadFile(path);
        const std::filesystem::path copy = LoadCopy(name, path);

        levels.SaveLevel();

        ASSERT_EQ(levels.LastSave(), LevelManager::SaveOutcome::Saved);
        const std::string after = TestSupport::ReadFile(copy);
        if (after != before) {
            std::size_t at = 0;
            while (at < before.size() && at < after.size() && before[at] == after[at])
                ++at;
            const std::size_t from = before.rfind('\n', at) == std::string::npos ? 0 : before.rfind('\n', at);
            ADD_FAILURE() << "the save differs from byte " << at << ": the file has\n"
                          << before.substr(from, 200) << "\nthe save\n"
                          << after.substr(from, 200);
        }
    }
    EXPECT_TRUE(DataTest::ErrorLines().empty());
}

// The object half way down each level's list is moved: the bytes before its entry and after
// it stay, and the entry holds the new position and the rest as it was.
TEST_F(ShippedLevelSave, MovingOneObjectChangesItsEntryAlone)
{
    for (const auto& [name, path] : ShippedLevels()) {
        SCOPED_TRACE(name);
        const std::string before = TestSupport::ReadFile(path);
        const OrderedJson file = OrderedJson::parse(before);
        std::vector<std::string> keys;
        for (const auto& [key, entry] : file.items())
            keys.push_back(key);
        const std::filesystem::path copy = LoadCopy(name, path);
        // Objects are made in the order of the file's entries.
        ASSERT_EQ(DataTest::ObjectNames().size(), keys.size());
        const std::size_t moved = keys.size() / 2;
        Transform* place = ComponentStore::Instance().GetComponent<Transform>(static_cast<std::uint32_t>(moved));
        ASSERT_NE(place, nullptr);
        place->x_pos += 100.0f;

        levels.SaveLevel();

        const std::string after = TestSupport::ReadFile(copy);
        const std::size_t start = EntryStart(before, keys[moved]);
        const std::size_t end = moved + 1 < keys.size() ? EntryStart(before, keys[moved + 1]) : before.rfind('}');
        ASSERT_NE(start, std::string::npos) << keys[moved];
        ASSERT_NE(end, std::string::npos);
        ASSERT_GT(after.size(), start + before.size() - end);
        EXPECT_EQ(after.substr(0, start), before.substr(0, start)) << "before " << keys[moved];
        EXPECT_EQ(after.substr(after.size() - (before.size() - end)), before.substr(end)) << "after " << keys[moved];

        OrderedJson expected = file[keys[moved]];
        expected["Transform"]["PosX"] = Json::array({static_cast<double>(place->x_pos)});
        const OrderedJson saved = OrderedJson::parse(after);
        ASSERT_TRUE(saved.contains(keys[moved]));
        EXPECT_EQ(saved[keys[moved]], expected) << keys[moved];
    }
}

// The animation data file: definitions registered with the animation system in key order,
// their names listed, and a file that is missing or malformed.
#include "DataTestSupport.h"
#include "TestSupport.h"

#include "core/Log.h"
#include "core/SystemManager.h"
#include "data/LevelManager.h"
#include "gameplay/AnimationUpdate.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Engine;

namespace {

using Names = std::vector<std::string>;

class AnimationDataFile : public testing::Test {
protected:
    // Every line, repeats too: these tests count what each read logs.
    void SetUp() override { InitializeLogging({.repeatWindow = {}}); }

    static std::size_t LinesWith(const std::string& text)
    {
        const std::vector<std::string> lines = DataTest::LogLines();
        return static_cast<std::size_t>(
            std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; }));
    }

    LevelManager& levels = LevelManager::Instance();
};

}  // namespace

TEST_F(AnimationDataFile, RegistersDefinitionsAndKeepsTheFirstOfAName)
{
    levels.animationDataPath = DataTest::Fixture("Animations.json");
    levels.LoadAnimationData();

    EXPECT_EQ(levels.animationHandles, (Names{"Walk", "Walk", "Jump"}));
    const auto& animations = GetSystem<AnimationUpdate>()->animations;
    ASSERT_EQ(animations.size(), 2u);
    const AnimationData& walk = animations.at("Walk");
    EXPECT_EQ(walk.frameCount, 4);  // [4.9] truncates
    EXPECT_FLOAT_EQ(walk.frameDelay, 0.1f);
    EXPECT_EQ(walk.rows, 2);
    EXPECT_EQ(walk.columns, 4);
    EXPECT_TRUE(walk.looping);
    EXPECT_EQ(walk.spriteSheet, "Walk.png");
    EXPECT_FLOAT_EQ(animations.at("Jump").frameDelay, 1.0f);
    EXPECT_EQ(LinesWith("[info] Registered Animation: Walk"), 2u);
    EXPECT_EQ(LinesWith("[info] Registered Animation: Jump"), 1u);

    levels.LoadAnimationData();  // the names are appended again on every read
    EXPECT_EQ(levels.animationHandles.size(), 6u);
}

TEST_F(AnimationDataFile, EmptyFileIsReadAgainOnTheNextUpdate)
{
    levels.animationDataPath = DataTest::Fixture("EmptyObject.json");
    AnimationUpdate* system = GetSystem<AnimationUpdate>();
    system->Update();
    EXPECT_TRUE(system->animations.empty());
    EXPECT_TRUE(levels.animationHandles.empty());

    levels.animationDataPath = DataTest::Fixture("Animations.json");
    system->Update();
    EXPECT_EQ(system->animations.size(), 2u);
}

TEST_F(AnimationDataFile, MissingFileIsReportedOnEveryUpdateUntilDefinitionsExist)
{
    levels.animationDataPath = DataTest::Scratch() / "AnimationData.json";
    AnimationUpdate* system = GetSystem<AnimationUpdate>();
    const std::size_t before = LinesWith("[error] Could not find the Animation Data json file in Resources/Aniamtions");
    system->Update();
    system->Update();
    EXPECT_EQ(LinesWith("[error] Could not find the Animation Data json file in Resources/Aniamtions"), before + 2);
    EXPECT_TRUE(system->animations.empty());
}

TEST_F(AnimationDataFile, MalformedDefinitionKeepsThoseBeforeAndItsName)
{
    const std::filesystem::path file = DataTest::Fixture("malformed/Animations.json");
    levels.animationDataPath = file;
    levels.LoadAnimationData();

    EXPECT_EQ(levels.animationHandles, (Names{"Idle", "Run"}));
    const auto& animations = GetSystem<AnimationUpdate>()->animations;
    EXPECT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations.count("Idle"), 1u);
    const std::string error = DataTest::ErrorLines().back();
    EXPECT_TRUE(error.ends_with(file.string() + ": expected true or false at \"B\" > \"Looping\"")) << error;
}

TEST_F(AnimationDataFile, FaultyFirstDefinitionDoesNotGrowTheNameListOnEveryRetry)
{
    const std::filesystem::path file = DataTest::Scratch() / "FirstFaulty.json";
    TestSupport::WriteFile(file, R"({"A": {"Handle": "Broken", "Frame Count": ["four"]}})");
    levels.animationDataPath = file;
    AnimationUpdate* system = GetSystem<AnimationUpdate>();
    for (int frame = 0; frame < 3; ++frame)
        system->Update();
    EXPECT_TRUE(system->animations.empty());
    EXPECT_TRUE(levels.animationHandles.empty());
}

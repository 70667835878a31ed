// The animation update: restart requests, the texture offset of the cell shown and the
// stepping of frames by the frame time.
#include "core/Animation.h"
#include "core/ComponentStore.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "gameplay/AnimationUpdate.h"

#include <gtest/gtest.h>

using namespace Engine;

namespace {

class AnimationStep : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        system.AddAnimation("Sheet", {8, 2, 4, 0.1f, false, "Sheet.png"});
        system.AddAnimation("Loop", {3, 1, 3, 0.1f, true, "Loop.png"});
        system.AddAnimation("Still", {4, 1, 4, 0.0f, true, "Still.png"});
        system.AddAnimation("Backwards", {4, 1, 4, -0.5f, true, "Still.png"});
    }

    Animation& Animated(const std::string& handle)
    {
        const std::uint32_t id = GameObjectTable::Instance().CreateGameObject("Animated");
        ComponentStore::Instance().AddComponent<Animation>(id);
        Animation& animation = *ComponentStore::Instance().GetComponent<Animation>(id);
        animation.Handle = handle;
        return animation;
    }

    void Run(float seconds)
    {
        FrameDeltaTime = seconds;
        system.Update();
    }

    AnimationUpdate system;
};

}  // namespace

TEST_F(AnimationStep, OffsetOfFrameFiveOnAFourByTwoSheet)
{
    Animation& animation = Animated("Sheet");
    animation.frame = 5;
    Run(0.0f);
    EXPECT_FLOAT_EQ(animation.u, 0.25f);
    EXPECT_FLOAT_EQ(animation.v, 0.5f);
    EXPECT_EQ(animation.frame, 5);  // not playing: nothing steps
}

TEST_F(AnimationStep, RestartPlaysFromFrameZeroAndTheOffsetLagsOneUpdate)
{
    Animation& animation = Animated("Sheet");
    animation.frame = 6;
    animation.restart = true;
    Run(0.1f);
    EXPECT_FALSE(animation.restart);
    EXPECT_TRUE(animation.playing);
    EXPECT_EQ(animation.frame, 1);  // 0.1 s of the 0.1 s delay used up
    EXPECT_FLOAT_EQ(animation.u, 0.0f);  // the cell shown is frame 0, current before the step
    Run(0.05f);
    EXPECT_FLOAT_EQ(animation.u, 0.25f);
}

TEST_F(AnimationStep, NonLoopingStopsOnItsLastFrameUntilRestarted)
{
    Animation& animation = Animated("Sheet");
    animation.restart = true;
    for (int i = 0; i < 12; ++i)
        Run(0.1f);
    EXPECT_EQ(animation.frame, 7);
    EXPECT_FALSE(animation.playing);
    EXPECT_FLOAT_EQ(animation.timer, 0.0f);

    animation.restart = true;
    Run(0.05f);
    EXPECT_TRUE(animation.playing);
    EXPECT_EQ(animation.frame, 0);
    EXPECT_FLOAT_EQ(animation.timer, 0.05f);
}

TEST_F(AnimationStep, LoopingWrapsToFrameZero)
{
    Animation& animation = Animated("Loop");
    animation.restart = true;
    Run(0.0f);  // takes the restart; the timer holds the whole delay
    std::vector<std::int32_t> frames;
    for (int i = 0; i < 4; ++i) {
        Run(0.1f);
        frames.push_back(animation.frame);
    }
    EXPECT_EQ(frames, (std::vector<std::int32_t>{1, 2, 0, 1}));
    EXPECT_TRUE(animation.playing);
}

TEST_F(AnimationStep, ALongFrameStepsSeveralFrames)
{
    Animation& animation = Animated("Sheet");
    animation.restart = true;
    Run(0.0f);
    Run(0.3f);  // three delays
    EXPECT_EQ(animation.frame, 3);
    EXPECT_GT(animation.timer, 0.0f);
}

TEST_F(AnimationStep, LoopWithoutAPositiveDelayDoesNotAdvance)
{
    for (const std::string handle : {"Still", "Backwards"}) {
        SCOPED_TRACE(handle);
        Animation& animation = Animated(handle);
        animation.frame = 2;
        animation.restart = true;
        Run(0.5f);  // must return instead of looping forever
        EXPECT_EQ(animation.frame, 0);
        EXPECT_TRUE(animation.playing);
        Run(0.5f);
        EXPECT_EQ(animation.frame, 0);
    }
}

TEST_F(AnimationStep, UnknownHandleGetsAZeroDefinitionThatStays)
{
    Animation& unnamed = Animated("");
    Animation& unknown = Animated("Nowhere");
    unknown.restart = true;
    unknown.u = 0.0f;
    Run(1.0f);

    EXPECT_EQ(system.animations.count(""), 1u);
    ASSERT_EQ(system.animations.count("Nowhere"), 1u);
    EXPECT_EQ(system.animations.at("Nowhere").columns, 0);
    EXPECT_TRUE(unknown.playing);
    EXPECT_EQ(unknown.frame, 0);
    EXPECT_FLOAT_EQ(unknown.u, 0.0f);
    EXPECT_FLOAT_EQ(unnamed.v, 0.0f);

    system.AddAnimation("Nowhere", {4, 1, 4, 0.1f, true, "Late.png"});
    EXPECT_EQ(system.animations.at("Nowhere").columns, 0);
    Run(1.0f);
    EXPECT_EQ(unknown.frame, 0);
}

TEST_F(AnimationStep, ShutdownForgetsEveryDefinition)
{
    system.Shutdown();
    EXPECT_TRUE(system.animations.empty());
}

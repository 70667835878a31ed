// The particle effects of a level load: every emitter of the old level goes, a new player
// trail comes, and each "KillZone" handler shows its effect once its delay has run out.
#include "DataTestSupport.h"

#include "core/Log.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelManager.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Engine;

namespace {

class LevelEffects : public testing::Test {
protected:
    void SetUp() override
    {
        InitializeLogging();
        SystemManager::Instance();  // start-up lines of the systems are not the loader's
        Camera::Instance()->followedObjectId = 0;
    }

    void Load(const std::string& fixture)
    {
        DataTest::ListLevel(fixture, DataTest::Fixture(fixture));
        LevelManager::Instance().LoadLevel(fixture);
    }

    static std::size_t ActiveEmitters()
    {
        const auto& emitters = GetSystem<ParticleSystem>()->emitters;
        return static_cast<std::size_t>(std::count_if(emitters.begin(), emitters.end(), [](const auto& e) { return e.active; }));
    }
};

}  // namespace

TEST_F(LevelEffects, EveryLoadLeavesExactlyOneTrailInSlotZero)
{
    GetSystem<ParticleSystem>()->AddEmitter(ParticleEmitter{});  // an effect of the previous level
    for (const std::string fixture : {"Ordered.json", "Ordered.json", "Null.json", "EmptyObject.json"}) {
        SCOPED_TRACE(fixture);
        Load(fixture);
        EXPECT_EQ(ActiveEmitters(), 1u);
        ASSERT_FALSE(GetSystem<ParticleSystem>()->emitters.empty());
        EXPECT_TRUE(GetSystem<ParticleSystem>()->emitters[0].active);
    }
}

TEST_F(LevelEffects, KillZoneEffectAppearsAtTheObjectWhenTheDelayRunsOut)
{
    Load("KillZones.json");
    const std::size_t emittersAfterLoad = ActiveEmitters();

    // Run the delayed calls as the timer database would once a second has passed.
    for (const auto& timer : GetSystem<TimerDatabase>()->timers)
        timer->Update(1001);

    // Only "Pit" has a Transform; "Spikes" has none, so its call makes nothing.
    EXPECT_EQ(ActiveEmitters(), emittersAfterLoad + 2);
}

// ParticleBurst and ParticleDeathBurst from a script: the emitter each adds, the particles
// it spawns, and its removal after its time while the particles fly on.
#include "GameWorld.h"

#include "core/FrameTime.h"
#include "core/SystemManager.h"
#include "gameplay/ParticleSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

using ScriptTest::GameWorld;
using testing::AllOf;
using testing::ElementsAre;
using testing::Ge;
using testing::Lt;

namespace {

Engine::ParticleSystem& Particles() { return *Engine::GetSystem<Engine::ParticleSystem>(); }

struct BurstCase {
    std::uint32_t step;  // GameObject that makes the fixture script start this burst
    float x, y;
    float rate;
    std::array<float, 4> color;
    float life;
    std::int64_t emitMs;
    float spread;         // first position within +-spread/2 of the origin
    float riseLow, riseHigh;  // rise in y per update
    float driftLow, driftHigh;  // change in x per update
};

const std::vector<BurstCase> Bursts = {
    {1, 100.0f, 200.0f, 10.0f, {1.0f, 1.0f, 0.4f, 1.0f}, 2.0f, 1000, 3.0f, 1.5f, 1.5f, -1.5f, 1.5f},
    {2, -50.0f, 25.5f, 1000.0f, {0.4549f, 0.0313f, 0.7176f, 1.0f}, 0.5f, 500, 10.0f, 3.5f, 18.5f, -15.5f, 14.5f},
};

}  // namespace

TEST(ParticleBurst, AddsItsEmitterAndRemovesItAfterItsTimeWhileTheParticlesFlyOn)
{
    GameWorld world({"interface"});
    for (const BurstCase& burst : Bursts) {
        SCOPED_TRACE(burst.step);
        Particles().emitters.clear();
        Particles().particles.clear();
        world.Run("Bursts", burst.step);

        ASSERT_EQ(Particles().emitters.size(), 1u);
        const Engine::ParticleEmitter& emitter = Particles().emitters[0];
        EXPECT_TRUE(emitter.active);
        EXPECT_THAT(emitter.origin, ElementsAre(burst.x, burst.y, 0.0f));
        EXPECT_EQ(emitter.rate, burst.rate);
        EXPECT_EQ(emitter.texture, "Empty.png");
        EXPECT_THAT(emitter.particleTemplate, ElementsAre(burst.x, burst.y, 0.0f, 3.0f, 3.0f, 0.0f));
        EXPECT_THAT(emitter.color, ElementsAre(burst.color[0], burst.color[1], burst.color[2], burst.color[3]));
        EXPECT_EQ(emitter.lifetime, burst.life);

        // One update spawns one particle and already runs its update once.
        FrameDeltaTime = 1.0f / 60.0f;
        Particles().Update();
        ASSERT_EQ(Particles().particles.size(), 1u);
        const Engine::Particle& particle = Particles().particles[0];
        EXPECT_TRUE(particle.alive);
        EXPECT_FLOAT_EQ(particle.scaleX, 3.05f);
        EXPECT_FLOAT_EQ(particle.scaleY, 3.05f);
        const float half = burst.spread * 0.5f;
        EXPECT_THAT(particle.x, AllOf(Ge(burst.x - half + burst.driftLow), Lt(burst.x + half + burst.driftHigh)));
        EXPECT_THAT(particle.y, AllOf(Ge(burst.y - half + burst.riseLow), Lt(burst.y + half + burst.riseHigh + 0.001f)));
        EXPECT_EQ(particle.z, 0.0f);
        EXPECT_EQ(particle.texture, "Empty.png");
        EXPECT_FLOAT_EQ(particle.life, burst.life - FrameDeltaTime);

        world.AdvanceTimers(burst.emitMs);
        EXPECT_TRUE(Particles().emitters[0].active);  // a delay acts once its time is below 0
        world.AdvanceTimers(1);
        EXPECT_FALSE(Particles().emitters[0].active);
        EXPECT_TRUE(Particles().particles[0].alive);
    }
}

TEST(ParticleBurst, ParticlesGrowUntilEitherScaleReachesSix)
{
    GameWorld world({"interface"});
    for (const BurstCase& burst : Bursts) {
        SCOPED_TRACE(burst.step);
        Particles().emitters.clear();
        Particles().particles.clear();
        world.Run("Bursts", burst.step);
        // A tiny step keeps every particle's life from running out first.
        FrameDeltaTime = 1e-5f;
        Particles().Update();
        int updates = 1;
        while (Particles().particles[0].alive && updates < 100) {
            Particles().Update();
            ++updates;
        }
        // 0.05 per update from 3.0: sixty updates, give or take the float rounding.
        EXPECT_THAT(updates, AllOf(Ge(59), Lt(62)));
        EXPECT_GE(Particles().particles[0].scaleX, 6.0f);
    }
}

TEST(ParticleBurst, RemovalSparesAnotherEmitterInTheSlotAfterALevelLoad)
{
    GameWorld world({"interface"});
    world.Run("Bursts", 1);
    // A level load empties the table; the new level's trail takes slot 0.
    Particles().emitters.clear();
    Particles().CreatePlayerTrail(0.0f, 86.0f, 255.0f, 255.0f);
    ASSERT_TRUE(Particles().emitters[0].active);

    world.AdvanceTimers(1001);
    EXPECT_TRUE(Particles().emitters[0].active);
    EXPECT_EQ(Particles().emitters[0].rate, 100.0f);
}

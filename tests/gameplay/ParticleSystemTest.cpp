#include "GameplayScene.h"

#include "gameplay/ParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace GameplayScene;

namespace {
Engine::ParticleSystem& Particles() { return *Engine::GetSystem<Engine::ParticleSystem>(); }

Engine::ParticleEmitter Emitter(float rate, float lifetime)
{
    Engine::ParticleEmitter emitter;
    emitter.rate = rate;
    emitter.lifetime = lifetime;
    emitter.texture = "Spark.png";
    const float particleTemplate[6] = {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 0.5f};
    std::copy(std::begin(particleTemplate), std::end(particleTemplate), emitter.particleTemplate);
    return emitter;
}

std::size_t AliveCount()
{
    std::size_t alive = 0;
    for (const Engine::Particle& particle : Particles().particles)
        alive += particle.alive ? 1 : 0;
    return alive;
}

// A player with a sprite colour and a speed, followed by the camera.
std::uint32_t MakePlayer(float x, float y, float xVel)
{
    const std::uint32_t player = AddObject("Player", x, y);
    Get<Engine::Transform>(player)->z_pos = 0.5f;
    Engine::Sprite& sprite = Add<Engine::Sprite>(player);
    const float color[4] = {0.2f, 0.4f, 0.6f, 0.8f};
    std::copy(std::begin(color), std::end(color), sprite.Color);
    Add<Engine::Controller>(player).x_vel = xVel;
    FollowPlayer(player);
    return player;
}
}  // namespace

TEST(ParticleSystem, SpawnsAtMostOneParticlePerEmitterPerUpdate)
{
    struct Case {
        const char* what;
        float rate, dt;
        int updates;
        std::size_t spawned;
    };
    const std::vector<Case> cases = {
        {"rate 100 at 60 updates per second", 100.0f, 1.0f / 60.0f, 60, 60},
        {"rate 1000: the overshoot is dropped", 1000.0f, 1.0f / 60.0f, 60, 60},
        {"rate 4 at 8 updates per second", 4.0f, 0.125f, 8, 4},
        {"rate 0: once, then never", 0.0f, 0.125f, 20, 1},
        {"a negative rate: once, then never", -5.0f, 0.125f, 20, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Particles().particles.clear();
        const int index = Particles().AddEmitter(Emitter(c.rate, 100.0f));
        FrameDeltaTime = c.dt;
        for (int update = 0; update < c.updates; ++update)
            Step<Engine::ParticleSystem>();
        EXPECT_EQ(Particles().particles.size(), c.spawned);
        Particles().RemoveEmitter(static_cast<unsigned>(index));
    }
}

TEST(ParticleSystem, NewParticleCopiesTheEmitterAndRunsItsInitOnce)
{
    Engine::ParticleEmitter emitter = Emitter(10.0f, 2.0f);
    emitter.color[1] = 0.25f;
    int inits = 0;
    emitter.init = [&inits](Engine::Particle* particle) {
        ++inits;
        particle->x += 100.0f;
    };
    int updates = 0;
    emitter.update = [&updates](Engine::Particle* particle) {
        ++updates;
        particle->y += 1.0f;
    };
    Particles().AddEmitter(emitter);
    FrameDeltaTime = 0.25f;

    Step<Engine::ParticleSystem>();

    ASSERT_EQ(Particles().particles.size(), 1u);
    const Engine::Particle& particle = Particles().particles[0];
    EXPECT_EQ(inits, 1);
    EXPECT_EQ(particle.x, 101.0f);
    EXPECT_EQ(particle.y, 3.0f) << "the update ran once in the update that spawned it";
    EXPECT_EQ(particle.z, 3.0f);
    EXPECT_EQ(particle.scaleX, 4.0f);
    EXPECT_EQ(particle.scaleY, 5.0f);
    EXPECT_EQ(particle.rotation, 0.5f);
    EXPECT_EQ(particle.texture, "Spark.png");
    EXPECT_EQ(particle.color[1], 0.25f);
    EXPECT_EQ(particle.life, 1.75f);
    EXPECT_TRUE(particle.alive);
    EXPECT_EQ(updates, 1);
}

TEST(ParticleSystem, DeadParticlesAreSkippedAndOnlyRemovedByTheCompactionEvery15Updates)
{
    // Each particle lives less than one update: it dies in the update that spawns it.
    Engine::ParticleEmitter emitter = Emitter(1000.0f, 0.01f);
    int updates = 0;
    emitter.update = [&updates](Engine::Particle*) { ++updates; };
    Particles().AddEmitter(emitter);
    FrameDeltaTime = 0.02f;

    std::vector<std::size_t> sizes;
    for (int update = 1; update <= 31; ++update) {
        Step<Engine::ParticleSystem>();
        sizes.push_back(Particles().particles.size());
        EXPECT_EQ(AliveCount(), 0u);
    }

    std::vector<std::size_t> expected;
    for (std::size_t size = 1; size <= 15; ++size)
        expected.push_back(size);
    expected.push_back(0);  // the 16th update compacts
    for (std::size_t size = 1; size <= 14; ++size)
        expected.push_back(size);
    expected.push_back(0);  // and every 15th after it
    EXPECT_EQ(sizes, expected);
    EXPECT_EQ(updates, 31) << "each particle was updated once, while alive";
}

TEST(ParticleSystem, CompactionKeepsTheOrderOfTheLiving)
{
    Engine::ParticleSystem& system = Particles();
    for (int i = 0; i < 6; ++i) {
        Engine::Particle particle;
        particle.x = static_cast<float>(i);
        particle.alive = true;
        particle.life = (i % 2 == 0) ? 100.0f : 0.0f;  // odd ones die on their next update
        system.particles.push_back(particle);
    }
    system.frameCounter = system.compactionInterval;
    FrameDeltaTime = 0.0f;

    Step<Engine::ParticleSystem>();

    ASSERT_EQ(system.particles.size(), 3u);
    EXPECT_EQ(system.particles[0].x, 0.0f);
    EXPECT_EQ(system.particles[1].x, 2.0f);
    EXPECT_EQ(system.particles[2].x, 4.0f);
    EXPECT_EQ(system.frameCounter, 1);
}

TEST(ParticleSystem, EmitterSlotsAreReusedAndRemovalLeavesParticlesFlying)
{
    Engine::ParticleSystem& system = Particles();
    EXPECT_EQ(system.AddEmitter(Emitter(100.0f, 5.0f)), 0);
    EXPECT_EQ(system.AddEmitter(Emitter(100.0f, 5.0f)), 1);
    EXPECT_EQ(system.AddEmitter(Emitter(100.0f, 5.0f)), 2);
    FrameDeltaTime = 0.1f;
    Step<Engine::ParticleSystem>();
    ASSERT_EQ(system.particles.size(), 3u);

    EXPECT_TRUE(system.RemoveEmitter(1));
    EXPECT_FALSE(system.RemoveEmitter(3));
    EXPECT_FALSE(system.RemoveEmitter(1000));
    EXPECT_EQ(system.emitters.size(), 3u);
    Step<Engine::ParticleSystem>();
    EXPECT_EQ(system.particles.size(), 5u) << "two emitters spawn, the removed one's particle flies on";
    EXPECT_EQ(AliveCount(), 5u);

    EXPECT_EQ(system.AddEmitter(Emitter(1.0f, 1.0f)), 1);
    EXPECT_TRUE(system.emitters[1].active);
    EXPECT_EQ(system.emitters[1].rate, 1.0f);
    EXPECT_EQ(system.AddEmitter(Emitter(1.0f, 1.0f)), 3);
}

TEST(ParticleSystem, EmptyFunctionsAndMissingPlayerOrEmittersDoNotFault)
{
    Engine::ParticleSystem& system = Particles();
    FrameDeltaTime = 0.1f;
    Engine::Camera::Instance()->followedObjectId = 16384;
    Step<Engine::ParticleSystem>();  // no emitter at all: no slot 0 to refresh

    system.AddEmitter(Emitter(100.0f, 0.15f));  // no init, no update
    Step<Engine::ParticleSystem>();
    Step<Engine::ParticleSystem>();
    ASSERT_EQ(system.particles.size(), 2u);
    EXPECT_FALSE(system.particles[0].alive) << "aged out after 0.2 s";
    EXPECT_TRUE(system.particles[1].alive);
    EXPECT_EQ(system.emitters[0].texture, "Spark.png") << "no player: slot 0 is not refreshed";

    // A player without a Sprite still leaves slot 0 alone.
    const std::uint32_t player = AddObject("Player", 5.0f, 5.0f);
    FollowPlayer(player);
    Step<Engine::ParticleSystem>();
    EXPECT_EQ(system.emitters[0].origin[0], 0.0f);
}

TEST(ParticleSystem, SlotZeroFollowsThePlayerAndShiftsItsColourWithSpeed)
{
    struct Case {
        float xVel;
        float shift;
    };
    const std::vector<Case> cases = {{0.0f, 0.0f},     {499.9f, 0.0f},   {500.0f, 1.0f}, {-999.0f, 1.0f},
                                     {1200.0f, 2.0f},  {-1200.0f, 2.0f},
                                     {1.0e12f, 4.0e6f},  // beyond int: held at 2e9 units per second
                                     {-std::numeric_limits<float>::infinity(), 4.0e6f},
                                     {std::numeric_limits<float>::quiet_NaN(), 0.0f}};  // no speed to speak of
    const std::uint32_t player = MakePlayer(100.0f, 200.0f, 0.0f);
    Engine::ParticleSystem& system = Particles();
    system.AddEmitter(Emitter(100.0f, 7.0f));  // slot 0, whatever it was made as
    FrameDeltaTime = 0.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xVel);
        Get<Engine::Controller>(player)->x_vel = c.xVel;
        Step<Engine::ParticleSystem>();
        const Engine::ParticleEmitter& trail = system.emitters[0];
        EXPECT_FLOAT_EQ(trail.color[0], 0.2f + c.shift);
        EXPECT_FLOAT_EQ(trail.color[1], 0.4f);
        EXPECT_FLOAT_EQ(trail.color[2], 0.6f - c.shift);
        EXPECT_FLOAT_EQ(trail.color[3], 0.8f);
    }
    const Engine::ParticleEmitter& trail = system.emitters[0];
    EXPECT_EQ(trail.origin[0], 100.0f);
    EXPECT_EQ(trail.origin[1], 200.0f);
    EXPECT_EQ(trail.origin[2], 0.5f);
    EXPECT_EQ(trail.texture, "Empty.png");
    EXPECT_EQ(trail.lifetime, 1.0f);

    // The refreshed init sows around where the player was at the refresh, one step in front.
    system.particles.clear();
    system.emitters[0].spawnTimer = 0.0f;
    FrameDeltaTime = 0.01f;
    Get<Engine::Transform>(player)->x_pos = 300.0f;
    Step<Engine::ParticleSystem>();
    ASSERT_EQ(system.particles.size(), 1u);
    const Engine::Particle& particle = system.particles[0];
    EXPECT_GE(particle.x, 300.0f - 15.0f);
    EXPECT_LT(particle.x, 300.0f + 15.0f);
    EXPECT_GE(particle.y, 200.0f - 15.0f);
    EXPECT_LT(particle.y, 200.0f + 15.0f);
    EXPECT_EQ(particle.z, 1.5f);
    EXPECT_EQ(particle.life, 0.99f);
}

TEST(ParticleSystem, PlayerTrailTakesTheSpriteColourForFourZerosAndKeepsItsSlot)
{
    const std::uint32_t player = MakePlayer(50.0f, 60.0f, 0.0f);
    Engine::ParticleSystem& system = Particles();

    system.CreatePlayerTrail(0.0f, 0.0f, 0.0f, 0.0f);
    ASSERT_EQ(system.emitters.size(), 1u);
    const Engine::ParticleEmitter& first = system.emitters[0];
    EXPECT_TRUE(first.active);
    EXPECT_EQ(first.color[0], 0.2f);
    EXPECT_EQ(first.color[3], 0.8f);
    EXPECT_EQ(first.rate, 100.0f);
    EXPECT_EQ(first.lifetime, 1.0f);
    EXPECT_EQ(first.texture, "Empty.png");
    EXPECT_EQ(first.particleTemplate[3], 3.0f);
    EXPECT_EQ(first.particleTemplate[4], 3.0f);

    system.AddEmitter(Emitter(1.0f, 1.0f));  // slot 1 stays in use meanwhile
    system.CreatePlayerTrail(1.0f, 0.5f, 0.25f, 1.0f);
    ASSERT_EQ(system.emitters.size(), 2u);
    EXPECT_TRUE(system.emitters[0].active);
    EXPECT_EQ(system.emitters[0].color[1], 0.5f);
    EXPECT_TRUE(system.emitters[1].active);

    // Its particles start around the player and shrink by 0.05 an update until they die.
    Engine::Particle particle;
    system.emitters[0].init(&particle);
    EXPECT_GE(particle.x, 35.0f);
    EXPECT_LT(particle.x, 65.0f);
    EXPECT_GE(particle.y, 45.0f);
    EXPECT_LT(particle.y, 75.0f);
    particle.scaleX = 0.1f;
    particle.scaleY = 0.04f;
    particle.alive = true;
    system.emitters[0].update(&particle);
    EXPECT_FLOAT_EQ(particle.scaleX, 0.05f);
    EXPECT_FLOAT_EQ(particle.scaleY, -0.01f);
    EXPECT_TRUE(particle.alive);
    system.emitters[0].update(&particle);
    EXPECT_FALSE(particle.alive);
    EXPECT_FLOAT_EQ(particle.scaleY, -0.01f) << "a scale at or below 0 is not shrunk further";

    // After a level load emptied the table, the next trail is slot 0 again.
    system.emitters.clear();
    system.AddEmitter(Emitter(1.0f, 1.0f));
    system.CreatePlayerTrail(0.0f, 0.0f, 0.0f, 0.0f);
    ASSERT_EQ(system.emitters.size(), 2u);
    EXPECT_TRUE(system.emitters[0].active) << "the emitter now in the old trail's slot is not the trail";
    EXPECT_EQ(system.emitters[1].rate, 100.0f);
    (void)player;
}

TEST(ParticleSystem, KillZoneEmitterSparksRiseOverTheZone)
{
    const std::uint32_t zone = AddObject("Spikes", 100.0f, -50.0f);
    Get<Engine::Transform>(zone)->x_sca = 40.0f;
    Get<Engine::Transform>(zone)->y_sca = 20.0f;
    Engine::ParticleSystem& system = Particles();

    system.CreateKillZoneEmitter(static_cast<int>(zone));
    system.CreateKillZoneEmitter(12345);  // no such object: nothing
    system.CreateKillZoneEmitter(-1);

    ASSERT_EQ(system.emitters.size(), 1u);
    const Engine::ParticleEmitter& emitter = system.emitters[0];
    EXPECT_TRUE(emitter.active);
    EXPECT_EQ(emitter.origin[0], 100.0f);
    EXPECT_EQ(emitter.origin[1], -50.0f);
    EXPECT_EQ(emitter.rate, 100.0f);
    EXPECT_EQ(emitter.lifetime, 0.5f);
    EXPECT_EQ(emitter.texture, "Empty.png");
    EXPECT_EQ(emitter.particleTemplate[0], 100.0f);
    EXPECT_EQ(emitter.particleTemplate[3], 5.0f);
    EXPECT_FLOAT_EQ(emitter.color[0], 0.4549f);
    EXPECT_FLOAT_EQ(emitter.color[2], 0.7176f);

    for (int draw = 0; draw < 50; ++draw) {
        Engine::Particle particle;
        particle.scaleX = 5.0f;
        particle.scaleY = 5.0f;
        emitter.init(&particle);
        EXPECT_GE(particle.x, 60.0f);
        EXPECT_LT(particle.x, 140.0f);
        EXPECT_EQ(particle.y, -40.0f);
        EXPECT_EQ(particle.z, 0.0f);
        emitter.update(&particle);
        EXPECT_GE(particle.y, -39.5f);
        EXPECT_LT(particle.y, -39.0f);
        EXPECT_GE(particle.x, 58.5f);
        EXPECT_LT(particle.x, 141.5f);
        EXPECT_FLOAT_EQ(particle.scaleX, 4.95f);
    }

    // A mirrored zone (negative scale) spreads the same way.
    Get<Engine::Transform>(zone)->x_sca = -40.0f;
    system.CreateKillZoneEmitter(static_cast<int>(zone));
    Engine::Particle particle;
    system.emitters[1].init(&particle);
    EXPECT_GE(particle.x, 60.0f);
    EXPECT_LT(particle.x, 140.0f);
}

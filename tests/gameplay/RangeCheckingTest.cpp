#include "GameplayScene.h"

#include "core/Range.h"
#include "gameplay/CollisionUpdate.h"
#include "gameplay/ParticleSystem.h"
#include "gameplay/PhysicsUpdate.h"
#include "gameplay/RangeChecking.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

using namespace GameplayScene;
using namespace std::chrono_literals;

namespace {
Engine::ParticleSystem& Particles() { return *Engine::GetSystem<Engine::ParticleSystem>(); }

// An enemy whose fire interval has long passed.
Engine::Range& MakeEnemy(std::uint32_t id, float range)
{
    Engine::Range& enemy = Add<Engine::Range>(id);
    enemy.range = range;
    enemy.lastFire = sceneTime - 10s;
    return enemy;
}

std::size_t ActiveEmitters()
{
    std::size_t active = 0;
    for (const Engine::ParticleEmitter& emitter : Particles().emitters)
        active += emitter.active ? 1 : 0;
    return active;
}
}  // namespace

TEST(RangeChecking, FiresAnAimedGhostBulletWithItsTrailAndTwoDestroyHandlers)
{
    const std::uint32_t enemyId = AddObject("AirEnemy", 100.0f, 50.0f);
    Engine::Range& enemy = MakeEnemy(enemyId, 600.0f);
    Listen(enemyId, {"InRange"});
    const std::uint32_t player = AddObject("Player", 400.0f, 450.0f);  // 500 away: (300, 400)
    FollowPlayer(player);
    Engine::GetSystem<Engine::RangeChecking>();
    ClearQueue();
    AdvanceTimers(40);

    Step<Engine::RangeChecking>();

    EXPECT_EQ(QueuedCalls(), (std::vector<Call>{{"InRange", enemyId}}));
    EXPECT_EQ(enemy.lastFire, sceneTime);
    const std::vector<std::uint32_t> bullets = ObjectsNamed("bullet");
    ASSERT_EQ(bullets.size(), 1u);
    const std::uint32_t bullet = bullets[0];

    const Engine::Transform* transform = Get<Engine::Transform>(bullet);
    ASSERT_NE(transform, nullptr);
    EXPECT_EQ(transform->x_pos, 100.0f);
    EXPECT_EQ(transform->y_pos, 50.0f);
    EXPECT_EQ(transform->x_sca, 10.0f);
    EXPECT_EQ(transform->y_sca, 10.0f);
    const Engine::RigidBody* body = Get<Engine::RigidBody>(bullet);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->left, -10.0f);
    EXPECT_EQ(body->top, 10.0f);
    EXPECT_EQ(body->right, 10.0f);
    EXPECT_EQ(body->bottom, -10.0f);
    EXPECT_TRUE(body->Ghost);
    EXPECT_EQ(body->BodyType, 0);
    EXPECT_EQ(body->ColliderType, 0);
    const Engine::Sprite* sprite = Get<Engine::Sprite>(bullet);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->MeshIndex, 0);
    EXPECT_EQ(sprite->Texture, "Empty.png");
    EXPECT_FLOAT_EQ(sprite->Color[0], 0.4549f);
    EXPECT_FLOAT_EQ(sprite->Color[1], 0.03137f);
    EXPECT_FLOAT_EQ(sprite->Color[2], 0.71764f);
    EXPECT_FLOAT_EQ(sprite->Color[3], 1.0f);
    // Aimed at where the player stands, at 0.3 of the speed 1000.
    const Engine::Controller* controller = Get<Engine::Controller>(bullet);
    ASSERT_NE(controller, nullptr);
    EXPECT_FLOAT_EQ(controller->x_vel, 180.0f);
    EXPECT_FLOAT_EQ(controller->y_vel, 240.0f);
    const Engine::EventSet* events = Get<Engine::EventSet>(bullet);
    ASSERT_NE(events, nullptr);
    EXPECT_EQ(events->events.at("OnCollision"), (std::vector<std::string>{"DestroyBullet", "DestroyBullet"}));

    ASSERT_EQ(ActiveEmitters(), 1u);
    const Engine::ParticleEmitter& trail = Particles().emitters[0];
    EXPECT_EQ(trail.rate, 50.0f);
    EXPECT_EQ(trail.lifetime, 1.0f);
    EXPECT_EQ(trail.texture, "Empty.png");
    EXPECT_EQ(trail.particleTemplate[3], 3.0f);
    EXPECT_EQ(trail.particleTemplate[4], 3.0f);
    EXPECT_EQ(trail.color[0], 1.0f);
    Engine::Particle particle;
    trail.init(&particle);
    EXPECT_GE(particle.x, 97.5f);
    EXPECT_LT(particle.x, 102.5f);
    EXPECT_GE(particle.y, 47.5f);
    EXPECT_LT(particle.y, 52.5f);
    ASSERT_TRUE(trail.update);

    // A contact with the moving player queues the handler twice on the bullet.
    AddBox(player, 1, 10.0f, 10.0f);
    Get<Engine::Transform>(player)->x_pos = 110.0f;
    Get<Engine::Transform>(player)->y_pos = 55.0f;
    FrameDeltaTime = 0.0f;
    Step<Engine::PhysicsUpdate>();  // the bullet's prediction is where it stands
    ClearQueue();
    Step<Engine::CollisionUpdate>();
    std::size_t destroys = 0;
    for (const Call& call : QueuedCalls())
        destroys += (call.first == "DestroyBullet" && call.second == bullet) ? 1 : 0;
    EXPECT_EQ(destroys, 2u);
}

TEST(RangeChecking, FiresFromRangeInclusiveAndAtMostOncePerInterval)
{
    struct Case {
        const char* what;
        float playerX;
        bool fires;
    };
    const std::vector<Case> cases = {
        {"exactly at the range", 300.0f, true},
        {"just beyond it", 300.01f, false},
        {"close by", 10.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint32_t enemyId = AddObject("AirEnemy", 0.0f, 0.0f);
        MakeEnemy(enemyId, 300.0f);
        const std::uint32_t player = AddObject("Player", c.playerX, 0.0f);
        FollowPlayer(player);

        Step<Engine::RangeChecking>();
        EXPECT_EQ(ObjectsNamed("bullet").size(), c.fires ? 1u : 0u);
        Step<Engine::RangeChecking>();
        EXPECT_EQ(ObjectsNamed("bullet").size(), c.fires ? 1u : 0u) << "the next shot waits 2 s";

        for (std::uint32_t id : ObjectsNamed("bullet"))
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
        Engine::GameObjectTable::Instance().RemoveGameObject(enemyId);
        Engine::GameObjectTable::Instance().RemoveGameObject(player);
    }

    // A new enemy waits a whole interval; stepping out of range and back does not shorten it.
    const std::uint32_t enemyId = AddObject("AirEnemy", 0.0f, 0.0f);
    Engine::Range& enemy = Add<Engine::Range>(enemyId);
    enemy.range = 300.0f;
    const auto created = enemy.lastFire;
    const std::uint32_t player = AddObject("Player", 100.0f, 0.0f);
    FollowPlayer(player);
    Step<Engine::RangeChecking>();
    Get<Engine::Transform>(player)->x_pos = 1000.0f;
    Step<Engine::RangeChecking>();
    Get<Engine::Transform>(player)->x_pos = 100.0f;
    Step<Engine::RangeChecking>();
    EXPECT_TRUE(ObjectsNamed("bullet").empty());
    EXPECT_EQ(enemy.lastFire, created);
}

TEST(RangeChecking, SkipsShotsWithoutAPlayerAnEnemyPositionOrADirection)
{
    const std::uint32_t placed = AddObject("AirEnemy", 50.0f, 50.0f);
    Engine::Range& enemy = MakeEnemy(placed, 1000.0f);
    const auto ready = enemy.lastFire;
    Listen(placed, {"InRange"});
    const std::uint32_t unplaced = Engine::GameObjectTable::Instance().CreateGameObject("Ghost Enemy");
    MakeEnemy(unplaced, 1000.0f);
    ClearQueue();

    for (const std::int32_t followed : {16384, -1, static_cast<std::int32_t>(unplaced)}) {
        Engine::Camera::Instance()->followedObjectId = followed;
        Step<Engine::RangeChecking>();
    }
    // The player standing on the enemy: no direction to shoot in.
    const std::uint32_t player = AddObject("Player", 50.0f, 50.0f);
    FollowPlayer(player);
    Step<Engine::RangeChecking>();

    EXPECT_TRUE(ObjectsNamed("bullet").empty());
    EXPECT_TRUE(QueuedCalls().empty());
    EXPECT_EQ(enemy.lastFire, ready) << "the enemy shoots as soon as the player steps off";
    Get<Engine::Transform>(player)->x_pos = 60.0f;
    Step<Engine::RangeChecking>();
    ASSERT_EQ(ObjectsNamed("bullet").size(), 1u);
    const Engine::Controller* bullet = Get<Engine::Controller>(ObjectsNamed("bullet")[0]);
    EXPECT_FLOAT_EQ(bullet->x_vel, 300.0f);
    EXPECT_EQ(bullet->y_vel, 0.0f);
}

TEST(RangeChecking, RemovesBulletAndItsEmitterAfterThreeSeconds)
{
    const std::uint32_t enemyId = AddObject("AirEnemy", 0.0f, 0.0f);
    MakeEnemy(enemyId, 1000.0f);
    FollowPlayer(AddObject("Player", 100.0f, 0.0f));
    AdvanceTimers(0);  // the registry's start-up time is not part of the flight
    Step<Engine::RangeChecking>();
    const std::uint32_t bullet = ObjectsNamed("bullet").at(0);

    AdvanceTimers(2900);
    EXPECT_NE(Engine::GameObjectTable::Instance().Get(bullet), nullptr);
    EXPECT_EQ(ActiveEmitters(), 1u);

    AdvanceTimers(200);
    EXPECT_EQ(Engine::GameObjectTable::Instance().Get(bullet), nullptr);
    EXPECT_EQ(Get<Engine::Controller>(bullet), nullptr) << "removed with its components";
    EXPECT_EQ(ActiveEmitters(), 0u);
    EXPECT_NE(Engine::GameObjectTable::Instance().Get(enemyId), nullptr);
}

// The bullet is gone before its 3-second call: whatever holds its id or its emitter slot now stays.
TEST(RangeChecking, ThreeSecondCallSparesWhatTookTheBulletsIdOrEmitterSlot)
{
    enum class Then { CrateTakesTheId, NextBulletTakesTheId, LevelLoadRefillsTheEmitters };
    for (const Then then : {Then::CrateTakesTheId, Then::NextBulletTakesTheId, Then::LevelLoadRefillsTheEmitters}) {
        SCOPED_TRACE(static_cast<int>(then));
        const std::uint32_t enemyId = AddObject("AirEnemy", 0.0f, 0.0f);
        Engine::Range& enemy = MakeEnemy(enemyId, 1000.0f);
        FollowPlayer(AddObject("Player", 100.0f, 0.0f));
        AdvanceTimers(0);
        Step<Engine::RangeChecking>();
        const std::uint32_t bullet = ObjectsNamed("bullet").at(0);
        AdvanceTimers(2000);

        Engine::GameObjectTable::Instance().RemoveGameObject(bullet);  // as "DestroyBullet" does
        std::string successor;
        switch (then) {
        case Then::CrateTakesTheId:
            EXPECT_EQ(AddObject("Crate", 0.0f, 0.0f), bullet);
            successor = "Crate";
            break;
        case Then::NextBulletTakesTheId:
            enemy.lastFire = sceneTime - 10s;
            Step<Engine::RangeChecking>();
            EXPECT_EQ(ObjectsNamed("bullet"), std::vector<std::uint32_t>{bullet});
            successor = "bullet";
            break;
        case Then::LevelLoadRefillsTheEmitters:
            Particles().emitters.clear();
            Particles().CreatePlayerTrail(1.0f, 1.0f, 1.0f, 1.0f);
            ASSERT_EQ(Particles().emitters.size(), 1u);
            break;
        }

        AdvanceTimers(1500);  // past the first bullet's 3 s only

        if (!successor.empty()) {
            const GameObject* record = Engine::GameObjectTable::Instance().Get(bullet);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(record->name, successor);
        }
        if (then == Then::NextBulletTakesTheId) {
            EXPECT_EQ(ActiveEmitters(), 1u) << "the first emitter went, the second flies on";
            AdvanceTimers(1600);
            EXPECT_EQ(Engine::GameObjectTable::Instance().Get(bullet), nullptr)
                << "its own call removes the second bullet";
        } else if (then == Then::LevelLoadRefillsTheEmitters) {
            EXPECT_TRUE(Particles().emitters[0].active) << "the new level's trail stays";
        } else {
            EXPECT_EQ(ActiveEmitters(), 0u) << "the emitter still goes after its 3 s";
        }

        for (std::uint32_t id = 0; id <= Engine::GameObjectTable::Instance().highestUsed; ++id)
            Engine::GameObjectTable::Instance().RemoveGameObject(id);
        Particles().emitters.clear();
        AdvanceTimers(5000);
    }
}

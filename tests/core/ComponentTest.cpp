#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/GameClock.h"
#include "core/HeatMap.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

using Engine::ComponentStore;
using Engine::ComponentType;

namespace {

// Adds a T to a fresh id and checks what every added component must report.
template <typename T>
void ExpectTagAndOwner(std::uint32_t objectId, int tag)
{
    SCOPED_TRACE(T::DisplayName);
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<T>(objectId);
    const T* component = store.GetComponent<T>(objectId);
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(static_cast<int>(component->GetType()), tag);
    EXPECT_EQ(component->owner, objectId);
    // Through the base, as the store holds it.
    const Engine::Component* base = component;
    EXPECT_EQ(static_cast<int>(base->GetType()), tag);
}

}  // namespace

TEST(Component, EachTypeReportsItsTagAndOwner)
{
    ExpectTagAndOwner<Engine::Transform>(10, 0);
    ExpectTagAndOwner<Engine::Sprite>(11, 1);
    ExpectTagAndOwner<Engine::RigidBody>(12, 2);
    ExpectTagAndOwner<Engine::Controller>(13, 3);
    ExpectTagAndOwner<Engine::EventSet>(14, 4);
    ExpectTagAndOwner<Engine::Animation>(15, 5);
    ExpectTagAndOwner<Engine::Parallax>(16, 6);
    ExpectTagAndOwner<Engine::Checkpoint>(17, 7);
    ExpectTagAndOwner<Engine::Range>(18, 8);
    ExpectTagAndOwner<Engine::HeatMap>(19, 9);
}

TEST(Component, NewControllerFacesRightWithEveryOtherFlagClearAndNullTimers)
{
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<Engine::Controller>(3);
    const Engine::Controller& c = *store.GetComponent<Engine::Controller>(3);

    EXPECT_TRUE(c.facingRt);
    EXPECT_FALSE(c.isGrounded);
    EXPECT_FALSE(c.godMode);
    EXPECT_FALSE(c.airSkillSpent);
    EXPECT_FALSE(c.waterSkillSpent);
    EXPECT_FALSE(c.airSkillActive);
    EXPECT_FALSE(c.isDead);
    for (const Engine::TimerHandle& timer : {c.airSkillTimer, c.waterSkillTimer, c.airDelayTimer, c.waterDelayTimer}) {
        EXPECT_EQ(timer.id, 0u);
        EXPECT_EQ(timer.revision, 0u);
    }
    // The motion constants the physics step is tuned for.
    EXPECT_EQ(c.x_acc, 5.625f);
    EXPECT_EQ(c.fric, 5.625f);
    EXPECT_EQ(c.maxvelx, 450.0f);
    EXPECT_EQ(c.jumpvel, 520.0f);
    EXPECT_EQ(c.y_acc, -17.5f);
    EXPECT_EQ(c.maxvely, -1600.0f);
    EXPECT_EQ(c.x_vel, 0.0f);
    EXPECT_EQ(c.y_vel, 0.0f);
}

TEST(Component, NewRecordsHaveTheirDefaults)
{
    ComponentStore& store = ComponentStore::Instance();
    const Engine::GameClock::TimePoint created{std::chrono::hours(5)};
    Engine::GameClock::Set([created] { return created; });
    store.AddComponent<Engine::Transform>(1);
    store.AddComponent<Engine::Sprite>(1);
    store.AddComponent<Engine::RigidBody>(1);
    store.AddComponent<Engine::Animation>(1);
    store.AddComponent<Engine::Parallax>(1);
    store.AddComponent<Engine::Checkpoint>(1);
    store.AddComponent<Engine::Range>(1);
    store.AddComponent<Engine::EventSet>(1);
    Engine::GameClock::Set({});

    const auto& transform = *store.GetComponent<Engine::Transform>(1);
    EXPECT_EQ(transform.x_sca, 1.0f);
    EXPECT_EQ(transform.y_sca, 1.0f);
    EXPECT_EQ(transform.x_pos + transform.y_pos + transform.z_pos + transform.rot, 0.0f);

    const auto& sprite = *store.GetComponent<Engine::Sprite>(1);
    EXPECT_EQ(sprite.Color[3], 1.0f);  // visible
    EXPECT_EQ(sprite.Color[0] * sprite.Color[1] * sprite.Color[2], 1.0f);
    EXPECT_TRUE(sprite.Texture.empty());
    EXPECT_EQ(sprite.MeshIndex, 0);

    const auto& body = *store.GetComponent<Engine::RigidBody>(1);
    EXPECT_EQ(body.BodyType, 0);
    EXPECT_EQ(body.ColliderType, 0);
    EXPECT_FALSE(body.Ghost);

    const auto& animation = *store.GetComponent<Engine::Animation>(1);
    EXPECT_EQ(animation.frame, 0);
    EXPECT_FALSE(animation.playing);
    EXPECT_FALSE(animation.restart);
    EXPECT_TRUE(animation.Handle.empty());

    // The parallax system divides by the layer.
    EXPECT_NE(store.GetComponent<Engine::Parallax>(1)->Level, 0);

    EXPECT_EQ(store.GetComponent<Engine::Checkpoint>(1)->x, 90.0f);
    EXPECT_EQ(store.GetComponent<Engine::Checkpoint>(1)->y, 900.0f);

    const auto& range = *store.GetComponent<Engine::Range>(1);
    EXPECT_EQ(range.range, 0.0f);
    EXPECT_EQ(range.speed, 1000.0f);
    EXPECT_EQ(range.fireInterval, 2000);
    EXPECT_EQ(range.lastFire, created);  // the time of its creation

    EXPECT_TRUE(store.GetComponent<Engine::EventSet>(1)->events.empty());
}

TEST(Component, TenTypesTakeTenDistinctRows)
{
    using Ids = Engine::FamilyId<ComponentStore>;
    const std::set<std::uint32_t> ids = {
        Ids::Of<Engine::Transform>(), Ids::Of<Engine::Sprite>(),    Ids::Of<Engine::RigidBody>(),
        Ids::Of<Engine::Controller>(), Ids::Of<Engine::EventSet>(), Ids::Of<Engine::Animation>(),
        Ids::Of<Engine::Parallax>(),  Ids::Of<Engine::Checkpoint>(), Ids::Of<Engine::Range>(),
        Ids::Of<Engine::HeatMap>(),
    };
    EXPECT_EQ(ids.size(), ComponentStore::RowCount);
    EXPECT_LT(*ids.rbegin(), ComponentStore::RowCount);
}

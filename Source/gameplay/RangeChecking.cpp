#include "gameplay/RangeChecking.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/GameClock.h"
#include "core/GameObjectTable.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/SoundSystem.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "gameplay/ParticleSystem.h"
#include "gameplay/RandomDraws.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

namespace Engine {

namespace {
const char* const BulletName = "bullet";
const char* const BulletHandler = "DestroyBullet";
constexpr float BulletColor[4] = {0.4549f, 0.03137f, 0.71764f, 1.0f};
constexpr float BulletSpeedShare = 0.3f;  // bullets fly at this share of the Range's speed
constexpr std::int64_t BulletFlightMs = 3000;
constexpr float TrailJitter = 2.5f;

// Every bullet trail draws from this one engine, seeded once.
RandomDraws& BulletTrailDraws()
{
    static RandomDraws draws;
    return draws;
}
}  // namespace

void RangeChecking::Init() {}

void RangeChecking::Update()
{
    ComponentStore& store = ComponentStore::Instance();
    const auto playerId = static_cast<std::uint32_t>(Camera::Instance()->followedObjectId);
    const Transform* player = store.GetComponent<Transform>(playerId);
    if (player == nullptr)
        return;  // no player, nobody to shoot at
    const float playerX = player->x_pos;
    const float playerY = player->y_pos;

    // Bullets created on the way have ids above this walk or in freed slots; none has a Range.
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    for (std::uint32_t id = 0; id <= last; ++id) {
        Range* range = store.GetComponent<Range>(id);
        if (range == nullptr)
            continue;
        const Transform* enemy = store.GetComponent<Transform>(id);
        if (enemy == nullptr)
            continue;
        const float enemyX = enemy->x_pos;
        const float enemyY = enemy->y_pos;
        const float distance =
            std::sqrt((playerY - enemyY) * (playerY - enemyY) + (playerX - enemyX) * (playerX - enemyX));
        const auto now = GameClock::Now();
        if (distance > range->range)
            continue;
        // The wait runs from the last shot (or the Range's creation), in or out of range.
        const auto elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - range->lastFire).count();
        if (elapsedMs < range->fireInterval)
            continue;
        Fire(id, *range, enemyX, enemyY, playerX, playerY, now);
    }
}

void RangeChecking::Fire(std::uint32_t enemyId, Range& range, float enemyX, float enemyY, float aimX, float aimY,
                         std::chrono::steady_clock::time_point now)
{
    const float dx = aimX - enemyX;
    const float dy = aimY - enemyY;
    const float length = std::sqrt(dy * dy + dx * dx);
    // A player standing on the enemy gives no direction: no shot, and the enemy stays ready.
    if (!(length > 0.0f))
        return;

    GetSystem<EventManager>()->TriggerEvent(enemyId, "InRange");
    range.lastFire = now;
    const float velocityX = (dx / length) * range.speed;
    const float velocityY = (dy / length) * range.speed;
    GetSystem<SoundSystem>()->PlayEvent("AirEnemy_Shoot");

    const std::uint32_t bulletId = CreateBullet(enemyX, enemyY, velocityX, velocityY);
    if (bulletId == InvalidObjectId)
        return;  // the table is full; the creation has said so
    const ObjectRef bullet = GameObjectTable::Instance().Ref(bulletId);

    EventManager* events = GetSystem<EventManager>();
    events->AddEvent(bulletId, "OnCollision", BulletHandler);

    ParticleSystem* particleSystem = GetSystem<ParticleSystem>();
    const int emitterIndex = particleSystem->AddEmitter(ParticleEmitter{});
    ParticleEmitter& emitter = particleSystem->emitters[static_cast<std::size_t>(emitterIndex)];
    emitter.active = true;
    const float particleTemplate[6] = {0.0f, 0.0f, 0.0f, 3.0f, 3.0f, 0.0f};
    std::copy(std::begin(particleTemplate), std::end(particleTemplate), emitter.particleTemplate);
    emitter.lifetime = 1.0f;
    emitter.texture = "Empty.png";
    emitter.rate = 50.0f;
    // Once the bullet is gone its emitter sows around the template position until it is removed.
    emitter.init = [bullet](Particle* particle) {
        RandomDraws& random = BulletTrailDraws();
        if (bullet.IsLive()) {
            if (const Transform* transform = ComponentStore::Instance().GetComponent<Transform>(bullet.slot)) {
                particle->x = transform->x_pos;
                particle->y = transform->y_pos;
            }
        }
        particle->x += random.Uniform(-TrailJitter, TrailJitter);
        particle->y += random.Uniform(-TrailJitter, TrailJitter);
    };
    emitter.update = ParticleSystem::ShrinkAndDie;

    // Registered twice: every contact queues the handler twice.
    events->AddEvent(bulletId, "OnCollision", BulletHandler);

    RemoveAfterFlight(bullet, emitterIndex);
}

std::uint32_t RangeChecking::CreateBullet(float x, float y, float velocityX, float velocityY)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(BulletName);
    if (id == InvalidObjectId)
        return id;
    ComponentStore& store = ComponentStore::Instance();

    store.AddComponent<Transform>(id);
    Transform* transform = store.GetComponent<Transform>(id);
    transform->x_pos = x;
    transform->y_pos = y;
    transform->x_sca = 10.0f;
    transform->y_sca = 10.0f;

    // A Static ghost: it meets only moving bodies, passes through walls and is never pushed.
    store.AddComponent<RigidBody>(id);
    RigidBody* body = store.GetComponent<RigidBody>(id);
    body->left = -10.0f;
    body->top = 10.0f;
    body->right = 10.0f;
    body->bottom = -10.0f;
    body->Ghost = true;

    store.AddComponent<Sprite>(id);
    Sprite* sprite = store.GetComponent<Sprite>(id);
    sprite->MeshIndex = 0;
    sprite->Texture = "Empty.png";
    std::copy(std::begin(BulletColor), std::end(BulletColor), sprite->Color);

    store.AddComponent<Controller>(id);
    Controller* controller = store.GetComponent<Controller>(id);
    controller->x_vel = velocityX * BulletSpeedShare;
    controller->y_vel = velocityY * BulletSpeedShare;
    return id;
}

// The emitter lives the whole flight even when a script destroyed the bullet early.
void RangeChecking::RemoveAfterFlight(ObjectRef bullet, int emitterIndex)
{
    const auto emitterSlot = static_cast<std::size_t>(emitterIndex);
    const std::uint64_t emitterSerial = GetSystem<ParticleSystem>()->emitters[emitterSlot].serial;
    AddTimer<DelayCallTimer>(BulletFlightMs, [bullet, emitterIndex, emitterSerial] {
        ParticleSystem* particleSystem = GetSystem<ParticleSystem>();
        const auto slot = static_cast<unsigned>(emitterIndex);
        // A level load in between emptied the emitters: the slot may hold another effect now.
        if (slot < particleSystem->emitters.size() && particleSystem->emitters[slot].serial == emitterSerial)
            particleSystem->RemoveEmitter(slot);

        if (bullet.IsLive())
            GameObjectTable::Instance().RemoveGameObject(bullet.slot);
    });
}

void RangeChecking::Shutdown() {}

}  // namespace Engine

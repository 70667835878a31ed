#include "gameplay/CollisionUpdate.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/SystemManager.h"
#include "core/Transform.h"

#include <string>

namespace Engine {

namespace {
const std::string CollisionDetected = "Collision Detected";
const std::string OnCollision = "OnCollision";

constexpr std::int32_t StaticBody = 0;
constexpr std::int32_t BoxCollider = 0;
constexpr float DepthMargin = 0.1f;  // pushes go this far past contact so the pair separates
}  // namespace

void CollisionUpdate::Init() {}

void CollisionUpdate::Update()
{
    records.clear();

    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    bodies.clear();
    for (std::uint32_t id = 0; id <= last; ++id) {
        const RigidBody* rigidBody = store.GetComponent<RigidBody>(id);
        if (rigidBody == nullptr)
            continue;
        // A body is tested where it is going to be when it moves, else where it stands.
        if (const Controller* controller = store.GetComponent<Controller>(id))
            bodies.push_back({rigidBody, id, controller->next_x_pos, controller->next_y_pos});
        else if (const Transform* transform = store.GetComponent<Transform>(id))
            bodies.push_back({rigidBody, id, transform->x_pos, transform->y_pos});
        // A body with neither has no position and takes no part.
    }

    EventManager* events = GetSystem<EventManager>();
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        const Body& a = bodies[i];
        for (std::size_t j = i + 1; j < bodies.size(); ++j) {
            const Body& b = bodies[j];
            if (a.rigidBody->BodyType == StaticBody && b.rigidBody->BodyType == StaticBody)
                continue;
            if (a.rigidBody->ColliderType != BoxCollider || b.rigidBody->ColliderType != BoxCollider)
                continue;  // only boxes are tested: a line pair is silent
            const CollisionRecord record = TestBoxes(a, b);
            if (record.sides[0] || record.sides[1] || record.sides[2] || record.sides[3]) {
                records.push_back(record);
                events->TriggerEvent(a.owner, OnCollision);
                events->TriggerEvent(b.owner, OnCollision);
            }
        }
    }
}

CollisionRecord CollisionUpdate::TestBoxes(const Body& a, const Body& b) const
{
    const float aL = a.x + a.rigidBody->left;
    const float aR = a.x + a.rigidBody->right;
    const float aT = a.y + a.rigidBody->top;
    const float aB = a.y + a.rigidBody->bottom;
    const float bL = b.x + b.rigidBody->left;
    const float bR = b.x + b.rigidBody->right;
    const float bT = b.y + b.rigidBody->top;
    const float bB = b.y + b.rigidBody->bottom;

    CollisionRecord record;
    record.ownerA = a.owner;
    record.ownerB = b.owner;
    record.kind = 0;

    // Touching counts as overlap, but only an edge strictly inside the other span sets a side.
    if (!(bL <= aR && aL <= bR && bB <= aT && aB <= bT))
        return record;

    if (aL < bR && bR < aR) {
        record.sides[2] = true;
        record.depthX = (bR - aL) + DepthMargin;
    } else if (aL < bL && bL < aR) {
        record.sides[3] = true;
        record.depthX = (aR - bL) + DepthMargin;
    }

    if (aB < bT && bT < aT) {
        record.sides[1] = true;
        record.depthY = (bT - aB) + DepthMargin;
    } else if (aB < bB && bB < aT) {
        record.sides[0] = true;
        record.depthY = (aT - bB) + DepthMargin;
    }

    EventManager* events = GetSystem<EventManager>();
    events->TriggerEvent(a.owner, CollisionDetected);
    events->TriggerEvent(b.owner, CollisionDetected);
    return record;
}

void CollisionUpdate::Shutdown() {}

}  // namespace Engine

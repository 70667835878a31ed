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
    CollectBoxes();
    sweep.FindPairs(boxes);

    // Pairs that do not overlap raise nothing and record nothing, so testing only the swept pairs,
    // in the walk's (i, j) order, gives the records and events of testing every pair.
    EventManager* events = GetSystem<EventManager>();
    for (const BoxSweep::Pair& pair : sweep.pairs) {
        const SweptBox& a = boxes[pair.first];
        const SweptBox& b = boxes[pair.second];
        const CollisionRecord record = TestBoxes(a, b);
        if (record.sides[0] || record.sides[1] || record.sides[2] || record.sides[3]) {
            records.push_back(record);
            events->TriggerEvent(a.owner, OnCollision);
            events->TriggerEvent(b.owner, OnCollision);
        }
    }
}

// Only boxes take part: a pair with a line collider is silent, and so is a body without a position.
void CollisionUpdate::CollectBoxes()
{
    ComponentStore& store = ComponentStore::Instance();
    const std::uint32_t last = GameObjectTable::Instance().highestUsed;
    boxes.clear();
    for (std::uint32_t id = 0; id <= last; ++id) {
        const RigidBody* rigidBody = store.GetComponent<RigidBody>(id);
        if (rigidBody == nullptr || rigidBody->ColliderType != BoxCollider)
            continue;
        // A body is tested where it is going to be when it moves, else where it stands.
        float x = 0.0f;
        float y = 0.0f;
        if (const Controller* controller = store.GetComponent<Controller>(id)) {
            x = controller->next_x_pos;
            y = controller->next_y_pos;
        } else if (const Transform* transform = store.GetComponent<Transform>(id)) {
            x = transform->x_pos;
            y = transform->y_pos;
        } else {
            continue;
        }
        boxes.push_back({id, rigidBody->BodyType == StaticBody, x + rigidBody->left, x + rigidBody->right,
                         y + rigidBody->top, y + rigidBody->bottom});
    }
}

CollisionRecord CollisionUpdate::TestBoxes(const SweptBox& a, const SweptBox& b) const
{
    const float aL = a.left;
    const float aR = a.right;
    const float aT = a.top;
    const float aB = a.bottom;
    const float bL = b.left;
    const float bR = b.right;
    const float bT = b.top;
    const float bB = b.bottom;

    CollisionRecord record;
    record.ownerA = a.owner;
    record.ownerB = b.owner;
    record.kind = 0;

    // Touching counts as overlap, but only an edge strictly inside the other span sets a side.
    if (!(bL <= aR && aL <= bR && bB <= aT && aB <= bT))
        return record;

    EventManager* events = GetSystem<EventManager>();
    // Boxes that only share an edge line have nothing of one inside the other: a side set along
    // the other axis would lift a body sliding down a wall's face it touches onto the wall's top.
    if (bL == aR || aL == bR || bB == aT || aB == bT) {
        events->TriggerEvent(a.owner, CollisionDetected);
        events->TriggerEvent(b.owner, CollisionDetected);
        return record;
    }

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

    events->TriggerEvent(a.owner, CollisionDetected);
    events->TriggerEvent(b.owner, CollisionDetected);
    return record;
}

void CollisionUpdate::Shutdown() {}

}  // namespace Engine

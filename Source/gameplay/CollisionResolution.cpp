#include "gameplay/CollisionResolution.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/RigidBody.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "gameplay/CollisionUpdate.h"

#include <cmath>
#include <string>

namespace Engine {

namespace {
const std::string SideEvents[4] = {"Bottom Collision", "Top Collision", "Left Collision", "Right Collision"};

constexpr std::int32_t DynamicBody = 1;
constexpr int NoSide = -1;
constexpr float SpeedMargin = 0.1f;  // keeps the time to contact finite for slow bodies

struct Box {
    float left;
    float right;
    float top;
    float bottom;
};

// The box at the object's current position, not its prediction: a corner is decided from where
// the bodies came from. An object without a Transform is taken at its prediction instead.
Box CurrentBox(std::uint32_t objectId, const RigidBody& body)
{
    ComponentStore& store = ComponentStore::Instance();
    float x = 0.0f;
    float y = 0.0f;
    if (const Transform* transform = store.GetComponent<Transform>(objectId)) {
        x = transform->x_pos;
        y = transform->y_pos;
    } else if (const Controller* controller = store.GetComponent<Controller>(objectId)) {
        x = controller->next_x_pos;
        y = controller->next_y_pos;
    }
    return {x + body.left, x + body.right, y + body.top, y + body.bottom};
}
}  // namespace

void CollisionResolution::Init() {}

void CollisionResolution::Update()
{
    ComponentStore& store = ComponentStore::Instance();
    // Every record was computed before any push, so a body in several records gets every push in full.
    for (const CollisionRecord& record : GetSystem<CollisionUpdate>()->records) {
        const RigidBody* a = store.GetComponent<RigidBody>(record.ownerA);
        const RigidBody* b = store.GetComponent<RigidBody>(record.ownerB);
        if (a == nullptr || b == nullptr)
            continue;
        if (a->Ghost || b->Ghost)
            continue;  // ghosts are told about contacts by detection but never pushed
        Resolve(record, *a, *b);
    }
}

void CollisionResolution::Resolve(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const
{
    const int ySide = record.sides[0] ? 0 : (record.sides[1] ? 1 : NoSide);
    const int xSide = record.sides[2] ? 2 : (record.sides[3] ? 3 : NoSide);

    if (ySide != NoSide && xSide != NoSide) {
        ResolveCorner(record, a, b, ySide, xSide);
        return;
    }
    switch (ySide != NoSide ? ySide : xSide) {
    case 0:
        YAbove(record, a, b);
        break;
    case 1:
        YBelow(record, a, b);
        break;
    case 2:
        XLeft(record, a, b);
        break;
    case 3:
        XRight(record, a, b);
        break;
    default:
        break;  // detection records only pairs with a side set
    }
}

void CollisionResolution::ResolveCorner(const CollisionRecord& record, const RigidBody& a, const RigidBody& b,
                                        int ySide, int xSide) const
{
    const Box boxA = CurrentBox(record.ownerA, a);
    const Box boxB = CurrentBox(record.ownerB, b);
    const auto resolveX = [&] {
        if (xSide == 2)
            XLeft(record, a, b);
        else
            XRight(record, a, b);
    };

    const auto xAxisWins = [&](float gx, float gy) { return XAxisWins(record, a, gx, gy); };

    // A body that came from beside the other one, touching its side included, may go out along x:
    // a touch left out here would send a body running up a wall's face by the corner's whole
    // height, over its top or down through the block below, whichever side it comes from.
    if (ySide == 0) {  // B above A
        if (boxB.bottom <= boxA.top)
            resolveX();
        const float gy = boxA.top - boxB.bottom;
        if (xSide == 2 && boxB.right <= boxA.left && xAxisWins(boxB.right - boxA.left, gy))
            XLeft(record, a, b);
        else if (xSide == 3 && boxA.right <= boxB.left && xAxisWins(boxA.right - boxB.left, gy))
            XRight(record, a, b);
        else
            YAbove(record, a, b);
        return;
    }

    // A above B; the first test is A's bottom against B's bottom.
    if (boxA.bottom <= boxB.bottom)
        resolveX();
    const float gy = boxB.top - boxA.bottom;
    if (xSide == 2 && boxB.right <= boxA.left && xAxisWins(boxB.right - boxA.left, gy))
        XLeft(record, a, b);
    else if (xSide == 3 && boxA.right <= boxB.left && xAxisWins(boxA.right - boxB.left, gy))
        XRight(record, a, b);
    else
        YBelow(record, a, b);
}

bool CollisionResolution::XAxisWins(const CollisionRecord& record, const RigidBody& a, float gx, float gy) const
{
    ComponentStore& store = ComponentStore::Instance();
    float tx = 0.0f;
    float ty = 0.0f;
    if (a.BodyType == DynamicBody) {
        const Controller* controller = store.GetComponent<Controller>(record.ownerA);
        if (controller == nullptr)
            return false;  // no velocity to judge by: the y axis
        tx = controller->x_vel == 0.0f ? 0.0f : gx / (std::fabs(controller->x_vel) + SpeedMargin);
        ty = controller->y_vel == 0.0f ? 0.0f : gy / (std::fabs(controller->y_vel) + SpeedMargin);
    } else {
        const Controller* controller = store.GetComponent<Controller>(record.ownerB);
        if (controller == nullptr)
            return false;
        // B's signed velocity, with a zero component giving that axis a time of 0 as for A. A
        // division by it would give an infinite time that never wins: when the corner's first
        // push has just stopped B's run, B would then go out along y by the whole height it
        // overlaps, onto the block's top or down through the step below it.
        tx = controller->x_vel == 0.0f ? 0.0f : gx / controller->x_vel;
        ty = controller->y_vel == 0.0f ? 0.0f : gy / controller->y_vel;
    }
    if (tx == 0.0f && ty == 0.0f) {
        // No time tells the axes apart: typically a body standing on a floor (its fall stopped)
        // walks into a step (its run just stopped by this record's first push). Pushing it out
        // along y would move it by the step's whole height, down into the floor it stands on;
        // the shallower overlap is the way out, and an even one stays with y.
        return record.depthX < record.depthY;
    }
    return std::fabs(tx) < std::fabs(ty);
}

void CollisionResolution::XRight(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const
{
    ApplyPush(record.ownerA, a, Push::Right, record);
    ApplyPush(record.ownerB, b, Push::Left, record);
}

void CollisionResolution::XLeft(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const
{
    ApplyPush(record.ownerA, a, Push::Left, record);
    ApplyPush(record.ownerB, b, Push::Right, record);
}

void CollisionResolution::YAbove(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const
{
    ApplyPush(record.ownerA, a, Push::Top, record);
    ApplyPush(record.ownerB, b, Push::Bottom, record);
}

void CollisionResolution::YBelow(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const
{
    ApplyPush(record.ownerA, a, Push::Bottom, record);
    ApplyPush(record.ownerB, b, Push::Top, record);
}

void CollisionResolution::ApplyPush(std::uint32_t objectId, const RigidBody& body, Push push,
                                    const CollisionRecord& record) const
{
    if (body.BodyType != DynamicBody)
        return;
    Controller* controller = ComponentStore::Instance().GetComponent<Controller>(objectId);
    if (controller == nullptr)
        return;
    switch (push) {
    case Push::Bottom:
        controller->y_vel = 0.0f;
        controller->next_y_pos += record.depthY;
        break;
    case Push::Top:
        controller->y_vel = 0.0f;
        controller->next_y_pos -= record.depthY;
        break;
    case Push::Left:
        controller->x_vel = 0.0f;
        controller->next_x_pos += record.depthX;
        break;
    case Push::Right:
        controller->x_vel = 0.0f;
        controller->next_x_pos -= record.depthX;
        break;
    }
    GetSystem<EventManager>()->TriggerEvent(objectId, SideEvents[static_cast<int>(push)]);
}

void CollisionResolution::Shutdown() {}

}  // namespace Engine

// Engine::CollisionResolution (a system of the registry): walks this frame's collision records,
// pushes Dynamic bodies out of what they hit by correcting their predicted positions, zeroes the
// velocity along the push and raises the side events ("Bottom Collision", ...) on them.
#pragma once

#include "core/System.h"
#include "gameplay/CollisionRecord.h"

#include <cstdint>

namespace Engine {

struct RigidBody;

class CollisionResolution : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

private:
    // The side of the pushed body that was hit; the value is the push's number.
    enum class Push { Bottom = 0, Top = 1, Left = 2, Right = 3 };

    void Resolve(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const;
    void ResolveCorner(const CollisionRecord& record, const RigidBody& a, const RigidBody& b, int ySide,
                       int xSide) const;

    // The four pair resolutions: the A half first, then the B half.
    void XRight(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const;
    void XLeft(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const;
    void YAbove(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const;
    void YBelow(const CollisionRecord& record, const RigidBody& a, const RigidBody& b) const;

    // Moves one body when it is Dynamic and has a Controller, and tells it which side was hit.
    void ApplyPush(std::uint32_t objectId, const RigidBody& body, Push push, const CollisionRecord& record) const;

    // True when the x axis is reached first for the gaps gx, gy, by the time-to-contact rule;
    // when no time tells the axes apart, the axis of the record's shallower overlap.
    bool XAxisWins(const CollisionRecord& record, const RigidBody& a, float gx, float gy) const;
};

}  // namespace Engine

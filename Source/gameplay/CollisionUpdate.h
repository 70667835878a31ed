// Engine::CollisionUpdate (a system of the registry): finds overlapping rigid bodies at their
// predicted positions, raises "Collision Detected" and "OnCollision", and keeps one record per
// pair that collision resolution has to push apart in the same frame.
#pragma once

#include "core/System.h"
#include "gameplay/CollisionRecord.h"

#include <cstdint>
#include <vector>

namespace Engine {

struct RigidBody;

class CollisionUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    std::vector<CollisionRecord> records;  // this frame's contacts in pair order; keeps its capacity

private:
    // A body of this frame's sweep, at the point its box edges are offsets from.
    struct Body {
        const RigidBody* rigidBody;
        std::uint32_t owner;
        float x;
        float y;
    };

    CollisionRecord TestBoxes(const Body& a, const Body& b) const;

    std::vector<Body> bodies;  // rebuilt every frame in ascending object id
};

}  // namespace Engine

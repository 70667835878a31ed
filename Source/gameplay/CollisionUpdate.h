// Engine::CollisionUpdate (a system of the registry): finds overlapping rigid bodies at their
// predicted positions, raises "Collision Detected" and "OnCollision", and keeps one record per
// pair that collision resolution has to push apart in the same frame. Pairs are met as a walk
// over every pair of bodies in id order would meet them; a sweep along x finds the ones to test.
#pragma once

#include "core/System.h"
#include "gameplay/BoxSweep.h"
#include "gameplay/CollisionRecord.h"

#include <vector>

namespace Engine {

class CollisionUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    std::vector<CollisionRecord> records;  // this frame's contacts in pair order; keeps its capacity

private:
    void CollectBoxes();
    CollisionRecord TestBoxes(const SweptBox& a, const SweptBox& b) const;

    std::vector<SweptBox> boxes;  // rebuilt every frame in ascending object id
    BoxSweep sweep;               // keeps its order from frame to frame
};

}  // namespace Engine

// Engine::RangeChecking (a system of the registry): the shooting of ranged enemies. An object with
// a Range fires a "bullet" object at the player's position when the player is within its range
// and its fire interval has passed; each bullet trails particles and is removed after 3 seconds
// unless a script destroyed it first.
#pragma once

#include "core/System.h"

#include <chrono>
#include <cstdint>

namespace Engine {

struct ObjectRef;
struct Range;

class RangeChecking : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

private:
    void Fire(std::uint32_t enemyId, Range& range, float enemyX, float enemyY, float aimX, float aimY,
              std::chrono::steady_clock::time_point now);
    std::uint32_t CreateBullet(float x, float y, float velocityX, float velocityY);
    // A script may destroy the bullet first and its id go to another object: only a live
    // reference is removed.
    void RemoveAfterFlight(ObjectRef bullet, int emitterIndex);
};

}  // namespace Engine

// Engine::RangeChecking (a system of the registry): the shooting of ranged enemies. An object with
// a Range fires a "bullet" object at the player's position when the player is within its range
// and its fire interval has passed; each bullet trails particles and is removed after 3 seconds
// unless a script destroyed it first.
#pragma once

#include "core/System.h"

#include <chrono>
#include <cstdint>

namespace Engine {

struct Range;

class RangeChecking : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // True while the object in the slot is still the bullet fired under this generation of
    // the id (an id freed by a script may have been given to another object since).
    static bool IsLiveBullet(std::uint32_t objectId, std::uint32_t generation);

private:
    void Fire(std::uint32_t enemyId, Range& range, float enemyX, float enemyY, float aimX, float aimY,
              std::chrono::steady_clock::time_point now);
    std::uint32_t CreateBullet(float x, float y, float velocityX, float velocityY);
    void RemoveAfterFlight(std::uint32_t bulletId, std::uint32_t generation, int emitterIndex);
};

}  // namespace Engine

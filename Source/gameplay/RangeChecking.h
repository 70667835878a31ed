// Engine::RangeChecking (a system of the registry): the shooting of ranged enemies. An object with
// a Range fires a "bullet" object at the player's position when the player is within its range
// and its fire interval has passed; each bullet trails particles and is removed after 3 seconds
// unless a script destroyed it first.
#pragma once

#include "core/System.h"

#include <chrono>
#include <cstdint>
#include <unordered_map>

struct GameObject;

namespace Engine {

struct Range;

class RangeChecking : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // True while the object in the slot is still the bullet fired under this serial (an id
    // freed by a script may have been given to another object since).
    bool IsLiveBullet(std::uint32_t objectId, std::uint64_t serial) const;

private:
    struct FiredBullet {
        std::uint64_t serial;
        const GameObject* record;
    };

    void Fire(std::uint32_t enemyId, Range& range, float enemyX, float enemyY, float aimX, float aimY,
              std::chrono::steady_clock::time_point now);
    std::uint32_t CreateBullet(float x, float y, float velocityX, float velocityY);
    void RemoveAfterFlight(std::uint32_t bulletId, std::uint64_t serial, int emitterIndex);

    std::unordered_map<std::uint32_t, FiredBullet> bullets;  // by object id; until the 3-second call
    std::uint64_t lastSerial = 0;
};

}  // namespace Engine

// Engine::Range: makes an object an enemy that shoots at the player within `range`,
// with bullets of `speed`, at most once every `fireInterval` milliseconds.
#pragma once

#include "core/Component.h"
#include "core/GameClock.h"

#include <chrono>
#include <cstdint>

namespace Engine {

struct Range : Component {
    static constexpr ComponentType Tag = ComponentType::Range;
    static constexpr const char* DisplayName = "struct Engine::Range";
    ComponentType GetType() const override { return Tag; }

    float range = 0.0f;
    float speed = 1000.0f;
    std::int64_t fireInterval = 2000;
    std::chrono::steady_clock::time_point lastFire = GameClock::Now();  // neither saved nor shown
};

}  // namespace Engine

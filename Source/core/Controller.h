// Engine::Controller: the motion state of an object that moves under physics (the player,
// enemies): its velocities, its predicted position and the player's skill flags and timers.
// The six motion constants are read-only to scripts.
#pragma once

#include "core/Component.h"
#include "core/TimerHandle.h"

#include <cstdint>

namespace Engine {

struct Controller : Component {
    static constexpr ComponentType Tag = ComponentType::Controller;
    static constexpr const char* DisplayName = "struct Engine::Controller";
    ComponentType GetType() const override { return Tag; }

    explicit Controller(std::uint32_t ownerId = 0) { owner = ownerId; }

    float x_acc = 5.625f;
    float fric = 5.625f;
    float maxvelx = 450.0f;
    float jumpvel = 520.0f;
    float y_acc = -17.5f;
    float maxvely = -1600.0f;
    float x_vel = 0.0f;
    float y_vel = 0.0f;
    float next_x_pos = 0.0f;  // predicted position, committed by PositionUpdate
    float next_y_pos = 0.0f;
    bool isGrounded = false;
    bool facingRt = true;
    bool godMode = false;
    bool airSkillSpent = false;
    bool waterSkillSpent = false;
    bool airSkillActive = false;
    TimerHandle airSkillTimer;
    TimerHandle waterSkillTimer;
    TimerHandle airDelayTimer;
    TimerHandle waterDelayTimer;
    bool isDead = false;
};

}  // namespace Engine

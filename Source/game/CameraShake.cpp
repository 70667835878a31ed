// The camera shake that the game update starts while the player is dead (members of
// Engine::Camera kept with the game flow that drives them).
#include "graphics/Camera.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/TimerDatabase.h"

#include <cstdlib>

namespace Engine {

void Camera::Shake(std::int64_t durationMs, float magnitude)
{
    // A shake started while another runs (a dead player starts one every frame) keeps the
    // base of the first: taking the shaken eye as the new base would let the view wander.
    if (followEnabled) {
        for (int axis = 0; axis < 3; ++axis)
            shakeBase[axis] = eye[axis];
    }
    followEnabled = 0;
    shakeMagnitude = magnitude;
    // Nothing keeps the handles: a shake always runs its full time.
    AddTimer<RepeatFunctionTimer>(durationMs, [this] { CameraShakeStep(); });
    AddTimer<DelayCallTimer>(durationMs, [this] { CameraShakeEnd(); });
}

void Camera::CameraShakeStep()
{
    // Each offset is uniform in -m .. +m around the base, scaled by the C library's own
    // RAND_MAX (32767 on some, 2147483647 on glibc).
    const double m = shakeMagnitude;
    const auto offset = [m] { return static_cast<float>(m * (2.0 * static_cast<double>(std::rand()) / RAND_MAX - 1.0)); };
    eye[0] = shakeBase[0] + offset();
    eye[1] = shakeBase[1] + offset();
}

void Camera::CameraShakeEnd()
{
    if (followedObjectId >= 0) {
        if (auto* controller = ComponentStore::Instance().GetComponent<Controller>(static_cast<std::uint32_t>(followedObjectId)))
            controller->isDead = false;
    }
    followEnabled = 1;
}

}  // namespace Engine

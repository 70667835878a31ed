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
    followEnabled = 0;
    shakeMagnitude = magnitude;
    for (int axis = 0; axis < 3; ++axis)
        shakeBase[axis] = eye[axis];
    // Nothing keeps the handles: a shake always runs its full time.
    AddTimer<RepeatFunctionTimer>(durationMs, [this] { CameraShakeStep(); });
    AddTimer<DelayCallTimer>(durationMs, [this] { CameraShakeEnd(); });
}

void Camera::CameraShakeStep()
{
    // Each offset is uniform in -m .. +m around the base.
    const float m = shakeMagnitude;
    const float spread = 32767.0f / (2.0f * m);
    const float r1 = static_cast<float>(std::rand());
    const float r2 = static_cast<float>(std::rand());
    eye[0] = shakeBase[0] - m + r1 / spread;
    eye[1] = shakeBase[1] - m + r2 / spread;
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

// Engine::Camera: the game's one camera: the followed object, where it looks from and how
// much of the world it shows. The renderer, the window, the game flow and the editor read
// and write its fields directly.
#pragma once

#include <glm/mat4x4.hpp>

#include <cstdint>

class Game;

namespace Engine {

class Camera {
public:
    static Camera* Instance();

    std::int32_t followedObjectId = 0;  // the player; 16384 while no object is named "Player"
    float position[3] = {0.0f, 0.0f, 1.0f};
    float up[3] = {0.0f, 1.0f, 0.0f};
    float eye[3] = {0.0f, 0.0f, -10.0f};  // x and y are the world point at the centre of the screen
    float nearZ = 0.0f;
    float farZ = 100.0f;
    float viewWidth = 1280.0f;  // world units across the screen
    float viewHeight = 720.0f;
    float shakeMagnitude = 0.0f;
    float shakeBase[3] = {0.0f, 0.0f, 0.0f};
    std::uint8_t followEnabled = 1;
    Game* game = nullptr;

    // Shakes the eye by up to `magnitude` units each timer update for `durationMs`, with
    // following off until the shake ends; the end also clears the followed player's isDead.
    void Shake(std::int64_t durationMs, float magnitude);
    void CameraShakeStep();
    void CameraShakeEnd();

    // Row-vector matrices (p' = p x M), left-handed, as the renderer puts them in its frame
    // constants. The view looks from the eye to (eye x, eye y, -eye z); the projection is
    // orthographic, viewWidth x viewHeight around the eye, with depth 0 at nearZ and 1 at farZ.
    glm::mat4 ViewMatrix() const;
    glm::mat4 ProjectionMatrix() const;

    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

private:
    Camera() = default;
};

}  // namespace Engine

#include "graphics/Camera.h"

#include "graphics/FrameConstants.h"

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

namespace Engine {

Camera* Camera::Instance()
{
    static Camera camera;
    return &camera;
}

glm::mat4 Camera::ViewMatrix() const
{
    // Degenerate input (eye z 0, up along the view axis) yields NaNs, which the rasteriser
    // clips away: such a camera shows nothing rather than something wrong.
    const glm::vec3 from(eye[0], eye[1], eye[2]);
    const glm::vec3 focus(eye[0], eye[1], -eye[2]);
    const glm::vec3 zAxis = glm::normalize(focus - from);
    const glm::vec3 xAxis = glm::normalize(glm::cross(glm::vec3(up[0], up[1], up[2]), zAxis));
    const glm::vec3 yAxis = glm::cross(zAxis, xAxis);
    return MatrixFromRows({xAxis.x, yAxis.x, zAxis.x, 0.0f}, {xAxis.y, yAxis.y, zAxis.y, 0.0f},
                          {xAxis.z, yAxis.z, zAxis.z, 0.0f},
                          {-glm::dot(xAxis, from), -glm::dot(yAxis, from), -glm::dot(zAxis, from), 1.0f});
}

glm::mat4 Camera::ProjectionMatrix() const
{
    const float depthRange = 1.0f / (farZ - nearZ);
    return MatrixFromRows({2.0f / viewWidth, 0.0f, 0.0f, 0.0f}, {0.0f, 2.0f / viewHeight, 0.0f, 0.0f},
                          {0.0f, 0.0f, depthRange, 0.0f}, {0.0f, 0.0f, -depthRange * nearZ, 1.0f});
}

}  // namespace Engine

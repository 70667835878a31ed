#include "editor/ViewMapping.h"

#include "graphics/Camera.h"

namespace Engine {

namespace {
// The fixed factors of the editor's mapping, tuned for a 16:9 view.
constexpr float FactorX = 0.64f;
constexpr float FactorY = 0.44f;
}  // namespace

ViewMapping ViewMapping::Current(float zoom)
{
    const Camera* camera = Camera::Instance();
    return {camera->viewWidth, camera->viewHeight, camera->eye[0], camera->eye[1], zoom};
}

float ViewMapping::ScreenX(float worldX) const
{
    const float aspect = height / width;
    return (width * 0.5f + (FactorX * worldX + (aspect * (FactorX * worldX) - eyeX))) / zoom;
}

float ViewMapping::ScreenY(float worldY) const
{
    const float aspect = height / width;
    const float v = -worldY;
    return (height * 0.5f + (v / FactorY - (aspect * (v / FactorY) - eyeY))) / zoom;
}

float ViewMapping::WorldX(float screenX) const
{
    const float aspect = height / width;
    const float s = zoom * screenX - width * 0.5f;
    return (s - (aspect * s - eyeX)) / FactorY;
}

float ViewMapping::WorldY(float screenY) const
{
    const float aspect = height / width;
    const float t = zoom * screenY - height * 0.5f;
    return ((aspect * t - eyeY) + t) * -FactorX;
}

}  // namespace Engine

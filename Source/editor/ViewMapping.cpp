#include "editor/ViewMapping.h"

#include "graphics/Camera.h"

#include <imgui.h>

namespace Engine {

ViewMapping ViewMapping::Current()
{
    const Camera* camera = Camera::Instance();
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    return {camera->viewWidth, camera->viewHeight, camera->eye[0], camera->eye[1], display.x, display.y};
}

float ViewMapping::ScreenX(float worldX) const
{
    return displayWidth * 0.5f + (worldX - eyeX) * displayWidth / width;
}

float ViewMapping::ScreenY(float worldY) const
{
    return displayHeight * 0.5f - (worldY - eyeY) * displayHeight / height;
}

float ViewMapping::WorldX(float screenX) const
{
    return eyeX + (screenX - displayWidth * 0.5f) * width / displayWidth;
}

float ViewMapping::WorldY(float screenY) const
{
    return eyeY - (screenY - displayHeight * 0.5f) * height / displayHeight;
}

}  // namespace Engine

#include "graphics/Camera.h"

namespace Engine {

Camera* Camera::Instance()
{
    static Camera camera;
    return &camera;
}

}  // namespace Engine

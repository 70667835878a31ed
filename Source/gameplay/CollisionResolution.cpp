#include "gameplay/CollisionResolution.h"

namespace Engine {

void CollisionResolution::Init() {}

void CollisionResolution::Update() {}

void CollisionResolution::Shutdown() {}

}  // namespace Engine

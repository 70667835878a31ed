#include "gameplay/CollisionUpdate.h"

namespace Engine {

void CollisionUpdate::Init() {}

void CollisionUpdate::Update() {}

void CollisionUpdate::Shutdown() {}

}  // namespace Engine

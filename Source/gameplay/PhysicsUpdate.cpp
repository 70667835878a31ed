#include "gameplay/PhysicsUpdate.h"

namespace Engine {

void PhysicsUpdate::Init() {}

void PhysicsUpdate::Update() {}

void PhysicsUpdate::Shutdown() {}

}  // namespace Engine

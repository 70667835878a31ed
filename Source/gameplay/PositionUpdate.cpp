#include "gameplay/PositionUpdate.h"

namespace Engine {

void PositionUpdate::Init() {}

void PositionUpdate::Update() {}

void PositionUpdate::Shutdown() {}

}  // namespace Engine

#include "gameplay/PlayerController.h"

namespace Engine {

void PlayerController::Init() {}

void PlayerController::Update() {}

void PlayerController::Shutdown() {}

}  // namespace Engine

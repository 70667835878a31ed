#include "game/Scoreboard.h"

namespace Engine {

void Scoreboard::Init() {}

void Scoreboard::Update() {}

void Scoreboard::Shutdown() {}

}  // namespace Engine

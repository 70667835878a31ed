#include "game/GameState.h"

std::int32_t GameStateIndex = 0;
std::int32_t ConfirmAction = 0;

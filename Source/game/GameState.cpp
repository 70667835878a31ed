#include "game/GameState.h"

std::int32_t ConfirmAction = 0;

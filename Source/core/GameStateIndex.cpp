#include "core/GameStateIndex.h"

std::int32_t GameStateIndex = 0;

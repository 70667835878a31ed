#include "gameplay/RangeChecking.h"

namespace Engine {

void RangeChecking::Init() {}

void RangeChecking::Update() {}

void RangeChecking::Shutdown() {}

}  // namespace Engine

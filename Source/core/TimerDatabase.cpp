#include "core/TimerDatabase.h"

namespace Engine {

void TimerDatabase::Init() {}

void TimerDatabase::Update() {}

void TimerDatabase::Shutdown() {}

}  // namespace Engine

#include "gameplay/AnimationUpdate.h"

namespace Engine {

void AnimationUpdate::Init() {}

void AnimationUpdate::Update() {}

void AnimationUpdate::Shutdown() {}

}  // namespace Engine

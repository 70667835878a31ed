#include "core/FrameTime.h"

float FrameDeltaTime = 0.0f;
float FramesPerSecond = 0.0f;

// The frame-time globals: written once per frame by the frame loop, read by every system,
// screen timer and the editor. Seconds, single precision.
#pragma once

extern float FrameDeltaTime;   // length of the last frame
extern float FramesPerSecond;  // 1 / FrameDeltaTime

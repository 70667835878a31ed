// The frame time of the running frame: written once per frame by the frame loop, read by
// every system, screen timer and the editor. Seconds, single precision.
#pragma once

extern float FrameDeltaTime;   // seconds of the last frame
extern float FramesPerSecond;  // 1 / FrameDeltaTime; shown by the editor, never divided by

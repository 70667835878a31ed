// The frame-time globals: written once at the top of every frame by Game::Run and read by
// every system, screen timer and the editor during that frame.
#pragma once

extern float FrameDeltaTime;   // seconds since the previous frame started
extern float FramesPerSecond;  // 1 / FrameDeltaTime; infinite when the two starts coincide

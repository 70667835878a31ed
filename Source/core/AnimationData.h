// Engine::AnimationData: one sprite-sheet animation as the animation data file defines it.
// Engine::AnimationTable keeps them by name; frames run row by row through the sheet.
#pragma once

#include <cstdint>
#include <string>

namespace Engine {

struct AnimationData {
    std::int32_t frameCount = 0;
    std::int32_t rows = 0;     // rows of cells in the sheet
    std::int32_t columns = 0;  // columns of cells in the sheet
    float frameDelay = 0.0f;   // seconds each frame is shown
    bool looping = false;      // start again at frame 0 after the last frame
    std::string spriteSheet;   // image name; the renderer's business, not the animation update's
};

}  // namespace Engine

// Engine::AnimationUpdate (a system of the registry): Steps the sprite-sheet animations of every animated object.
#pragma once

#include "core/System.h"

#include <map>
#include <string>

namespace Engine {

// One sprite-sheet animation; frames run row by row over rows x columns cells.
struct AnimationData {
    int frameCount = 0;
    int rows = 0;
    int columns = 0;
    float frameDelay = 0.0f;  // seconds per frame
    bool looping = false;
    std::string spriteSheet;  // image file name of the sheet
};

class AnimationUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    std::map<std::string, AnimationData> animations;  // by animation name; the renderer reads the sheets
};

}  // namespace Engine

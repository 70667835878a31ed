// Engine::AnimationUpdate (a system of the registry): plays the sprite-sheet animations. It owns
// the definitions by name, which the level manager fills from the animation data file, and
// each frame honours restart requests, sets the texture offset of the cell shown (u, v) for
// the renderer and steps every playing animation by the frame time.
#pragma once

#include "core/System.h"
#include "gameplay/AnimationData.h"

#include <map>
#include <string>

namespace Engine {

class AnimationUpdate : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Keeps an existing definition of the same name unchanged.
    void AddAnimation(const std::string& name, AnimationData data);
    // The definition of a handle; an unknown one is added as the all-zero definition, which
    // has no cells and never advances. The update and the renderer look handles up here.
    const AnimationData& Definition(const std::string& handle);

    std::map<std::string, AnimationData> animations;
};

}  // namespace Engine

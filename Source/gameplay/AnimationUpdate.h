// Engine::AnimationUpdate (a system of the registry): plays the sprite-sheet animations of
// Engine::AnimationTable, which the level manager fills from the animation data file. Each
// frame it honours restart requests, sets the texture offset of the cell shown (u, v) for the
// renderer and steps every playing animation by the frame time.
#pragma once

#include "core/AnimationTable.h"
#include "core/System.h"

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
    // has no cells and never advances.
    const AnimationData& Definition(const std::string& handle);

    // The table it plays from: the definitions of Engine::AnimationTable.
    std::map<std::string, AnimationData>& animations = AnimationTable::Instance().definitions;
};

}  // namespace Engine

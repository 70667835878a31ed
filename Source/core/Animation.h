// Engine::Animation: which sprite-sheet animation an object plays and where it is in it;
// u and v are the texture offset of the current frame. AnimationUpdate advances it.
#pragma once

#include "core/Component.h"

#include <cstdint>
#include <string>

namespace Engine {

class Animation : public Component {
public:
    static constexpr ComponentType Tag = ComponentType::Animation;
    static constexpr const char* DisplayName = "class Engine::Animation";
    ComponentType GetType() const override { return Tag; }

    explicit Animation(std::uint32_t ownerId = 0) { owner = ownerId; }

    std::string GetHandle() const { return Handle; }

    std::int32_t frame = 0;
    float timer = 0.0f;  // seconds left on the current frame
    bool playing = false;
    std::string Handle;    // name of an animation of the animation data
    bool restart = false;  // request to start again from frame 0
    float u = 0.0f;
    float v = 0.0f;
};

}  // namespace Engine

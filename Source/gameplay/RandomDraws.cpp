#include "gameplay/RandomDraws.h"

#include <utility>

namespace Engine {

RandomDraws::RandomDraws() : engine(std::random_device{}()) {}

float RandomDraws::Uniform(float low, float high)
{
    // A negative scale (a mirrored object) turns a spread of [-s, s) around: keep the draw defined.
    if (high < low)
        std::swap(low, high);
    std::uniform_real_distribution<float> distribution(low, high);
    return distribution(engine);
}

}  // namespace Engine

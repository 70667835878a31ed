// Engine::RandomDraws: the random numbers of one call of a particle or bullet function. Each call
// makes its own Mersenne Twister seeded from the platform's non-deterministic random device, so
// no engine state is shared between calls. Used by the particle system and the range checker.
#pragma once

#include <random>

namespace Engine {

class RandomDraws {
public:
    RandomDraws();

    // One draw from [low, high); the bounds may come in either order.
    float Uniform(float low, float high);

private:
    std::mt19937 engine;
};

}  // namespace Engine

// Engine::RandomDraws: a 32-bit Mersenne Twister seeded once from the platform's non-deterministic
// random device. Each system that draws (the particle system, the range checker's bullet trails,
// the Lua particle bursts) keeps one for the life of the process and draws every number from it.
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

// Engine::Particle: one sprite particle in flight, by value in Engine::ParticleRecords. The
// particle system spawns, moves and ages it; the renderer draws it while it is alive.
#pragma once

#include <functional>
#include <string>

namespace Engine {

struct Particle {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float rotation = 0.0f;
    std::string texture;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    std::function<void(Particle*)> update;  // run every frame while alive
    float life = 0.0f;                      // seconds left
    bool alive = false;
};

}  // namespace Engine

// Engine::System: base of the fifteen systems that the registry creates, initialises,
// updates once per running frame in id order, and shuts down at exit. Time comes from the
// global FrameDeltaTime, not from an argument.
#pragma once

namespace Engine {

class System {
public:
    virtual ~System() = default;
    virtual void Init() = 0;
    virtual void Update() = 0;
    virtual void Shutdown() = 0;
};

}  // namespace Engine

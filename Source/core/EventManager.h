// Engine::EventManager (a system of the registry): Home of the event operations: named events on an object queue their handler scripts.
#pragma once

#include "core/System.h"

namespace Engine {

class EventManager : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

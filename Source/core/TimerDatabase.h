// Engine::TimerDatabase (a system of the registry): Owns the delayed and repeating timers and advances them in whole milliseconds.
#pragma once

#include "core/System.h"

namespace Engine {

class TimerDatabase : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

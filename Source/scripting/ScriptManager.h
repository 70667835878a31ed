// Engine::ScriptManager (a system of the registry): Loads the Lua scripts and runs the queued script calls once per frame.
#pragma once

#include "core/System.h"

namespace Engine {

class ScriptManager : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

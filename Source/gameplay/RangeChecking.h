// Engine::RangeChecking (a system of the registry): Makes enemies shoot bullets at the player when it comes within their range.
#pragma once

#include "core/System.h"

namespace Engine {

class RangeChecking : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

// Engine::ArchetypeManager (a system of the registry): Holds nothing; it keeps its place in the registry's order.
#pragma once

#include "core/System.h"

namespace Engine {

class ArchetypeManager : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

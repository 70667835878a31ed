// Engine::SoundSystem (a system of the registry): Plays the game's music and sound effects by their short event names.
#pragma once

#include "core/System.h"

namespace Engine {

class SoundSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;
};

}  // namespace Engine

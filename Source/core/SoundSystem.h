// Engine::SoundSystem (a system of the registry): plays the game's music and sound effects
// through the studio layer (platform/Studio*), by the events' short names. One music event
// (a name ending in "Music") plays at a time. Every failure is logged and survived.
#pragma once

#include "core/System.h"

#include <string>
#include <utility>
#include <vector>

namespace Engine {

class SoundSystem : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    bool LoadBank(const std::string& path);
    bool LoadEvent(const std::pair<std::string, std::string>& pathAndShortName);
    void PlayEvent(const std::string& name);
    void StopEvent(const std::string& name);
    void SetEventParameter(const std::string& name, const std::string& parameter, float value);

    std::vector<std::pair<std::string, std::string>> events;  // (event path, short name), load order
    std::string currentMusic = "Empty";
    bool musicMuted = false;
};

}  // namespace Engine

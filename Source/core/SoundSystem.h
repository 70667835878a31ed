// Engine::SoundSystem (a system of the registry): plays the game's music and sound effects
// through the studio layer (platform/Studio*), by the events' short names. One music event
// (a name ending in "Music") plays at a time. Every failure is logged and survived.
#pragma once

#include "core/System.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Platform {
class StudioBank;
class StudioEventInstance;
class StudioSystem;
}  // namespace Platform

namespace Engine {

class SoundSystem : public System {
public:
    // Mixer channels asked for; each event instance takes one.
    static constexpr int MaxChannels = 512;

    SoundSystem();
    ~SoundSystem() override;

    void Init() override;
    void Update() override;
    void Shutdown() override;

    bool LoadBank(const std::string& path);
    bool LoadEvent(const std::pair<std::string, std::string>& pathAndShortName);
    void PlayEvent(const std::string& name);
    void StopEvent(const std::string& name);
    // Called every frame for the level musics: the names are only read, never copied.
    void SetEventParameter(std::string_view name, std::string_view parameter, float value);

    // The one instance of the event with that short name, or null when none was loaded.
    Platform::StudioEventInstance* FindInstance(std::string_view name) const;

    std::vector<std::pair<std::string, std::string>> events;  // (event path, short name), load order
    std::string currentMusic = "Empty";
    bool musicMuted = false;

private:
    std::unique_ptr<Platform::StudioSystem> studio;                    // null when creation failed
    std::map<std::string, Platform::StudioEventInstance*> instances;   // by event path; owned by studio
    std::map<std::string, Platform::StudioBank*> banks;                // by bank path; owned by studio
};

}  // namespace Engine

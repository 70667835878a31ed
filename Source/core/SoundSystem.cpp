#include "core/SoundSystem.h"

#include "core/Log.h"
#include "platform/StudioBank.h"
#include "platform/StudioEventDescription.h"
#include "platform/StudioEventInstance.h"
#include "platform/StudioSystem.h"

#include <array>

namespace Engine {

namespace {

constexpr std::array<const char*, 4> BankPaths = {
    "Resources/Audio/Master Bank.bank",
    "Resources/Audio/Master Bank.strings.bank",
    "Resources/Audio/Music.bank",
    "Resources/Audio/Sound Effects.bank",
};

// Loaded in this order; the short name is the last path component.
constexpr std::array<const char*, 23> EventPaths = {
    "event:/Music/Levels/Level 1 & Level 2/Level1_LevelMusic",
    "event:/Music/Levels/Level 3/Level3_LevelMusic",
    "event:/Music/Levels/Level 4/Level4_LevelMusic",
    "event:/Music/Levels/Level 5/Level5_LevelMusic",
    "event:/Music/Menus/Menu_Music",
    "event:/Music/Menus/Menu_Music_Intro",
    "event:/Sound Effects/Player/Player_Jump",
    "event:/Sound Effects/Player/Player_AirDash",
    "event:/Sound Effects/Player/Player_Water_Kick",
    "event:/Sound Effects/Player/Player_Water_Slide",
    "event:/Sound Effects/Player/Player_Earth_Punch",
    "event:/Sound Effects/Player/Player_FireBurst",
    "event:/Sound Effects/Player/Player_Die",
    "event:/Sound Effects/Menus/Button_GoForward",
    "event:/Sound Effects/Menus/Button_GoBack",
    "event:/Sound Effects/Menus/Button_Rollover",
    "event:/Sound Effects/Enemies/AirEnemy_Die",
    "event:/Sound Effects/Enemies/AirEnemy_Shoot",
    "event:/Sound Effects/Environment/Checkpoint",
    "event:/Music/Levels/Level 1 & Level 2/Level1_WinStinger",
    "event:/Music/Levels/Level 3/Level3_WinStinger",
    "event:/Music/Levels/Level 4/Level4_WinStinger",
    "event:/Music/Levels/Level 5/Level5_WinStinger",
};

constexpr const char* NoMusic = "Empty";

bool IsMusic(const std::string& name)
{
    return name.ends_with("Music");
}

std::string ShortName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

}  // namespace

SoundSystem::SoundSystem()
{
    if (const int result = Platform::StudioSystem::Create(studio); result != Platform::StudioOk) {
        LogError("Error creating FMOD Studio! No sound available! : {}", result);
        studio.reset();
    }
}

SoundSystem::~SoundSystem() = default;

void SoundSystem::Init()
{
    if (!studio)
        return;
    if (const int result = studio->Initialize(MaxChannels); result != Platform::StudioOk)
        LogError("Error creating FMOD Studio! No sound available! : {}", result);

    for (const char* path : BankPaths)
        LoadBank(path);
    for (const char* path : EventPaths)
        LoadEvent({path, ShortName(path)});
}

void SoundSystem::Update()
{
    if (!studio)
        return;
    if (const int result = studio->Update(); result != Platform::StudioOk)
        LogError("Error in FMOD Studio! : {}", result);
}

void SoundSystem::Shutdown()
{
    if (!studio)
        return;
    studio->UnloadAll();
    studio->Release();
    // The handles died with the studio; later calls find nothing and do nothing.
    instances.clear();
    banks.clear();
    studio.reset();
}

bool SoundSystem::LoadBank(const std::string& path)
{
    if (banks.contains(path)) {
        LogWarn("Bank was already loaded!");
        return false;
    }
    Platform::StudioBank* bank = nullptr;
    if (studio)
        studio->LoadBankFile(path, &bank);
    if (bank == nullptr) {
        LogError("FMOD_ERROR loading bank");
        return false;
    }
    banks.emplace(path, bank);
    return true;
}

bool SoundSystem::LoadEvent(const std::pair<std::string, std::string>& pathAndShortName)
{
    const auto& [path, shortName] = pathAndShortName;
    if (instances.contains(path)) {
        LogWarn("Event was already loaded!");
        return false;
    }
    Platform::StudioEventDescription* description = nullptr;
    Platform::StudioEventInstance* instance = nullptr;
    if (studio && studio->GetEvent(path, &description) == Platform::StudioOk)
        description->CreateInstance(&instance);
    if (instance == nullptr) {
        LogError("Failed to load event {}", path);
        return false;
    }
    instances.emplace(path, instance);
    events.emplace_back(path, shortName);
    return true;
}

Platform::StudioEventInstance* SoundSystem::FindInstance(std::string_view name) const
{
    for (const auto& [path, shortName] : events) {
        if (shortName != name)
            continue;
        const auto found = instances.find(path);
        return found == instances.end() ? nullptr : found->second;
    }
    return nullptr;
}

void SoundSystem::PlayEvent(const std::string& name)
{
    if (IsMusic(name)) {
        if (currentMusic != NoMusic)
            StopEvent(currentMusic);
        currentMusic = name;
        if (musicMuted)
            return;
    }
    if (auto* instance = FindInstance(name))
        instance->Start();
}

void SoundSystem::StopEvent(const std::string& name)
{
    if (auto* instance = FindInstance(name))
        instance->Stop(Platform::StudioStopMode::AllowFadeOut);
}

void SoundSystem::SetEventParameter(std::string_view name, std::string_view parameter, float value)
{
    if (auto* instance = FindInstance(name))
        instance->SetParameterByName(parameter, value);
}

}  // namespace Engine

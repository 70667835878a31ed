#include "platform/StudioSystem.h"

#include "core/Log.h"
#include "platform/StudioBank.h"
#include "platform/StudioEventDescription.h"
#include "platform/SoundPreloader.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <fstream>

namespace Platform {

namespace {
constexpr int RequestedFrequency = 44100;
constexpr int RequestedChannels = 2;
constexpr int ChunkSizeFrames = 1024;  // about 23 ms of latency at 44.1 kHz
constexpr int CarrierFrames = 4096;
}  // namespace

int StudioSystem::Create(std::unique_ptr<StudioSystem>& system)
{
    const SDL_version* linked = Mix_Linked_Version();
    if (linked == nullptr || linked->major != SDL_MIXER_MAJOR_VERSION)
        return StudioErrorVersion;
    system.reset(new StudioSystem());
    return StudioOk;
}

StudioSystem::~StudioSystem()
{
    Release();
}

int StudioSystem::Initialize(int channels)
{
    if (initialised)
        return StudioErrorInitialised;
    if (channels <= 0)
        return StudioErrorInvalidArgument;
    initialised = true;
    maxChannels = channels;

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        LogDebug("Audio unavailable: {}", SDL_GetError());
        return StudioErrorOutput;
    }
    audioSubsystem = true;
    if (Mix_OpenAudio(RequestedFrequency, AUDIO_S16SYS, RequestedChannels, ChunkSizeFrames) != 0) {
        LogDebug("Audio device unavailable: {}", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioSubsystem = false;
        return StudioErrorOutput;
    }
    audioOpen = true;
    Uint16 format = 0;
    Mix_QuerySpec(&outputFrequency, &format, &outputChannels);
    sixteenBitOutput = format == AUDIO_S16SYS;
    outputFormat = format;
    silence.assign(static_cast<std::size_t>(CarrierFrames) * static_cast<std::size_t>(outputChannels) *
                       (SDL_AUDIO_BITSIZE(format) / 8),
                   format == AUDIO_U8 ? 0x80 : 0);
    carrier = {0, silence.data(), static_cast<Uint32>(silence.size()), MIX_MAX_VOLUME};
    Mix_AllocateChannels(maxChannels);

    // Without Ogg support the banks still load, but every event is reported as undecodable.
    oggDecoder = (Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) != 0;
    preloader = std::make_unique<SoundPreloader>(oggDecoder);
    return oggDecoder ? StudioOk : StudioErrorDecoder;
}

int StudioSystem::Update()
{
    if (!initialised)
        return StudioErrorNotInitialised;
    for (auto& [path, description] : descriptions)
        description->Update();
    return StudioOk;
}

int StudioSystem::LoadBankFile(const std::string& path, StudioBank** bank)
{
    if (bank == nullptr)
        return StudioErrorInvalidArgument;
    *bank = nullptr;
    if (!initialised)
        return StudioErrorNotInitialised;
    if (banks.contains(path))
        return StudioErrorAlreadyLoaded;

    std::ifstream file(path, std::ios::binary);
    if (!file) {
        LogError("Sound bank '{}' cannot be opened", path);
        return StudioErrorFileNotFound;
    }
    auto loaded = std::make_unique<StudioBank>(path);
    std::vector<StudioEventDefinition> definitions;
    if (const int result = loaded->Read(file, definitions); result != StudioOk)
        return result;

    for (auto& definition : definitions) {
        if (descriptions.contains(definition.path)) {
            LogError("{}:{}: event '{}' is defined already; this entry is left out", path, definition.line,
                     definition.path);
            continue;
        }
        std::unique_ptr<StudioEventDescription> description;
        if (audioOpen) {
            // Long music is streamed, never decoded whole. Other sounds are decoded in the
            // background when a quick look finds nothing wrong; anything else is loaded here,
            // where a failure's reason is read and the entry can still be left out.
            if (oggDecoder && SoundStream::Suits(definition.sound, outputFrequency)) {
                description = std::make_unique<StudioEventDescription>(*this, std::move(definition),
                                                                       StudioEventDescription::Streamed{});
            } else if (const auto ticket = preloader->Add(definition.sound)) {
                description = std::make_unique<StudioEventDescription>(*this, std::move(definition), *preloader,
                                                                       *ticket);
            } else if (Mix_Chunk* chunk = Mix_LoadWAV(definition.sound.string().c_str())) {
                description = std::make_unique<StudioEventDescription>(*this, std::move(definition), chunk);
            } else {
                LogError("{}:{}: sound '{}' cannot be played ({}); event '{}' is left out", path,
                         definition.soundLine, definition.sound.string(), Mix_GetError(), definition.path);
                continue;
            }
        } else {
            // Silent: nothing is decoded, but a missing file is still worth reporting.
            std::error_code error;
            if (!std::filesystem::is_regular_file(definition.sound, error)) {
                LogError("{}:{}: sound '{}' does not exist; event '{}' is left out", path, definition.soundLine,
                         definition.sound.string(), definition.path);
                continue;
            }
            description = std::make_unique<StudioEventDescription>(*this, std::move(definition), nullptr);
        }
        const std::string eventPath = description->Definition().path;
        descriptions.emplace(eventPath, std::move(description));
        loaded->AddEventPath(eventPath);
    }

    *bank = loaded.get();
    banks.emplace(path, std::move(loaded));
    return StudioOk;
}

int StudioSystem::GetEvent(const std::string& path, StudioEventDescription** description)
{
    if (description == nullptr)
        return StudioErrorInvalidArgument;
    *description = nullptr;
    if (!initialised)
        return StudioErrorNotInitialised;
    const auto found = descriptions.find(path);
    if (found == descriptions.end())
        return StudioErrorEventNotFound;
    *description = found->second.get();
    return StudioOk;
}

int StudioSystem::UnloadAll()
{
    // Descriptions halt their instances' channels before their sounds are freed; the sounds
    // nobody took yet go with the preloader's queue.
    descriptions.clear();
    if (preloader)
        preloader->Stop();
    banks.clear();
    nextChannel = 0;
    return StudioOk;
}

int StudioSystem::Release()
{
    if (released)
        return StudioOk;
    released = true;
    UnloadAll();
    preloader.reset();
    if (audioOpen) {
        Mix_CloseAudio();
        Mix_Quit();
        audioOpen = false;
    }
    if (audioSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        audioSubsystem = false;
    }
    initialised = false;
    return StudioOk;
}

int StudioSystem::ClaimChannel()
{
    if (nextChannel >= maxChannels)
        return -1;
    return nextChannel++;
}

}  // namespace Platform

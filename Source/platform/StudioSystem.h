// Platform::StudioSystem: the game's small sound studio over SDL2_mixer, used by Engine::SoundSystem.
// Opens the audio device, loads text sound banks (Resources/Audio/README.md), hands out event
// descriptions by path and updates instance state once per frame; with no device it runs silent.
#pragma once

#include "platform/SoundStream.h"
#include "platform/StudioResult.h"

#include <SDL_mixer.h>

#include <map>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Platform {

class SoundPreloader;
class StudioBank;
class StudioEventDescription;

class StudioSystem {
public:
    // Every successful Create must be followed by Release (the destructor releases too).
    static int Create(std::unique_ptr<StudioSystem>& system);
    ~StudioSystem();

    StudioSystem(const StudioSystem&) = delete;
    StudioSystem& operator=(const StudioSystem&) = delete;

    // Opens the audio device with room for maxChannels instances. On failure the result is
    // returned and the system goes on silent: banks still load and instances keep state.
    int Initialize(int maxChannels);
    int Update();
    // Reads the bank and checks its sounds quickly; an entry whose sound is missing or unusable
    // is logged and left out. Long music is streamed as it plays; the other sounds are decoded in
    // the background, each one waited for when its event first plays (see
    // StudioEventDescription::Chunk and Playable).
    int LoadBankFile(const std::string& path, StudioBank** bank);
    int GetEvent(const std::string& path, StudioEventDescription** description);
    // Stops every sound and the background decoding, and frees every bank, description and
    // instance handed out.
    int UnloadAll();
    // UnloadAll, then closes the audio device. The system can only be destroyed afterwards.
    int Release();

    bool AudioOpen() const { return audioOpen; }
    int OutputFrequency() const { return outputFrequency; }
    int OutputChannels() const { return outputChannels; }
    // Channel effects are written for signed 16-bit output only.
    bool SixteenBitOutput() const { return sixteenBitOutput; }
    SoundStream::OutputSpec StreamOutput() const { return {outputFrequency, outputFormat, outputChannels}; }
    // A short stretch of silence that a streamed instance's channel plays round and round, its
    // samples written over by the stream (the channel's volume, fades and effects act as for a chunk).
    Mix_Chunk* StreamCarrier() { return &carrier; }

    // The next free mixer channel for a new instance, or -1 when all are taken.
    int ClaimChannel();

private:
    StudioSystem() = default;

    bool initialised = false;
    bool released = false;
    bool audioSubsystem = false;  // SDL's audio subsystem was started by us
    bool audioOpen = false;
    bool oggDecoder = false;      // Mix_Init set up Ogg Vorbis decoding
    int maxChannels = 0;
    int nextChannel = 0;
    int outputFrequency = 0;
    int outputChannels = 0;
    bool sixteenBitOutput = false;
    std::uint16_t outputFormat = 0;
    std::vector<std::uint8_t> silence;  // the carrier's samples
    Mix_Chunk carrier{};
    std::unique_ptr<SoundPreloader> preloader;  // while the audio device is open
    std::map<std::string, std::unique_ptr<StudioBank>> banks;                    // by bank path
    std::map<std::string, std::unique_ptr<StudioEventDescription>> descriptions;  // by event path
};

}  // namespace Platform

#include "platform/StudioEventDescription.h"

#include "core/Log.h"
#include "platform/StudioEventInstance.h"
#include "platform/StudioSystem.h"

#include <SDL_mixer.h>

#include <utility>

namespace Platform {

StudioEventDescription::StudioEventDescription(StudioSystem& owner, StudioEventDefinition eventDefinition,
                                               Mix_Chunk* sound)
    : system(owner), definition(std::move(eventDefinition)), chunk(sound)
{
}

StudioEventDescription::StudioEventDescription(StudioSystem& owner, StudioEventDefinition eventDefinition,
                                               SoundPreloader& decoder, SoundPreloader::Ticket decoding)
    : system(owner), definition(std::move(eventDefinition)), chunk(nullptr), preloader(&decoder), ticket(decoding)
{
}

StudioEventDescription::StudioEventDescription(StudioSystem& owner, StudioEventDefinition eventDefinition,
                                               Streamed)
    : system(owner), definition(std::move(eventDefinition)), chunk(nullptr), streams(true)
{
}

StudioEventDescription::~StudioEventDescription()
{
    instances.clear();  // halts their channels, so the mixer no longer reads the chunk
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
    // A sound never taken is the preloader's to free.
}

Mix_Chunk* StudioEventDescription::Chunk() const
{
    if (preloader != nullptr)
        TakeDecodedChunk();
    return chunk;
}

void StudioEventDescription::TakeDecodedChunk() const
{
    chunk = std::exchange(preloader, nullptr)->Take(ticket);
    if (chunk != nullptr && chunk->alen > 0)
        return;
    // The preloader gives up on anything unusual; SDL_mixer's own loader may still read it,
    // and otherwise says why not.
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
    chunk = Mix_LoadWAV(definition.sound.string().c_str());
    if (chunk != nullptr && chunk->alen > 0)
        return;
    std::string reason = Mix_GetError();
    if (chunk != nullptr) {
        // libvorbisfile skips what it cannot read, so a file of damaged audio can end up as no sound.
        reason = "no sound in it could be decoded";
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    ReportSilent(reason);
}

void StudioEventDescription::ReportSilent(const std::string& reason) const
{
    LogError("{}:{}: sound '{}' cannot be played ({}); event '{}' stays silent", definition.bank,
             definition.soundLine, definition.sound.string(), reason, definition.path);
}

bool StudioEventDescription::Playable() const
{
    if (!streams)
        return Chunk() != nullptr;
    if (!streamChecked)
        ReadStreamedFile();
    return encoded != nullptr;
}

// The file passed the quick look when its bank loaded; what only decoding shows is found here,
// at first use, as for a chunk: a stream that cannot start, or a first pass without any sound.
void StudioEventDescription::ReadStreamedFile() const
{
    streamChecked = true;
    if (!system.AudioOpen())
        return;
    std::string reason;
    SoundStream::Encoded file = SoundStream::ReadFile(definition.sound, reason);
    std::unique_ptr<SoundStream> stream;
    if (file != nullptr)
        stream = SoundStream::Open(file, system.StreamOutput(), reason);
    if (stream != nullptr && !stream->HasSound()) {
        reason = "no sound in it could be decoded";
        stream.reset();
    }
    if (stream == nullptr) {
        ReportSilent(reason);
        return;
    }
    encoded = std::move(file);
}

std::unique_ptr<SoundStream> StudioEventDescription::OpenStream() const
{
    if (!Playable())
        return nullptr;
    std::string reason;
    return SoundStream::Open(encoded, system.StreamOutput(), reason);
}

int StudioEventDescription::CreateInstance(StudioEventInstance** instance)
{
    if (instance == nullptr)
        return StudioErrorInvalidArgument;
    *instance = nullptr;
    const int channel = system.ClaimChannel();
    if (channel < 0)
        return StudioErrorNoChannel;
    instances.push_back(std::make_unique<StudioEventInstance>(*this, channel));
    *instance = instances.back().get();
    return StudioOk;
}

void StudioEventDescription::Update()
{
    for (auto& instance : instances)
        instance->Update();
}

}  // namespace Platform

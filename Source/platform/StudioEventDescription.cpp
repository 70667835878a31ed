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
    LogError("{}:{}: sound '{}' cannot be played ({}); event '{}' stays silent", definition.bank,
             definition.soundLine, definition.sound.string(), reason, definition.path);
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

#include "platform/StudioEventDescription.h"

#include "platform/StudioEventInstance.h"
#include "platform/StudioSystem.h"

#include <SDL_mixer.h>

namespace Platform {

StudioEventDescription::StudioEventDescription(StudioSystem& owner, StudioEventDefinition eventDefinition,
                                               Mix_Chunk* sound)
    : system(owner), definition(std::move(eventDefinition)), chunk(sound)
{
}

StudioEventDescription::~StudioEventDescription()
{
    instances.clear();  // halts their channels, so the mixer no longer reads the chunk
    if (chunk != nullptr)
        Mix_FreeChunk(chunk);
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

#include "platform/StudioEventInstance.h"

#include "platform/StudioEventDescription.h"
#include "platform/StudioSystem.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Platform {

StudioEventInstance::StudioEventInstance(StudioEventDescription& eventDescription, int mixerChannel)
    : description(eventDescription), channel(mixerChannel)
{
    const auto& parameters = description.Definition().parameters;
    for (const auto& parameter : parameters)
        parameterValues.push_back(parameter.minimum);

    // The lowest cutoff of any muffling parameter is the one the filter uses.
    float cutoff = 0.0f;
    for (const auto& parameter : parameters)
        if (parameter.muffleCutoffHz > 0.0f && (cutoff == 0.0f || parameter.muffleCutoffHz < cutoff))
            cutoff = parameter.muffleCutoffHz;
    const StudioSystem& system = description.System();
    if (cutoff > 0.0f && system.SixteenBitOutput() && system.OutputFrequency() > 0) {
        muffle.coefficient = 1.0f - std::exp(-2.0f * std::numbers::pi_v<float> * cutoff /
                                             static_cast<float>(system.OutputFrequency()));
        muffle.outputChannels = std::clamp(system.OutputChannels(), 1, 8);
    }
}

StudioEventInstance::~StudioEventInstance()
{
    // Halting also drops the channel's effect, which points into this instance. An instance
    // never started has played nothing, and asking it would wait for its sound's decoding.
    if (startCount > 0 && Audible())
        Mix_HaltChannel(channel);
}

bool StudioEventInstance::Audible() const
{
    return description.Chunk() != nullptr && description.System().AudioOpen();
}

int StudioEventInstance::Start()
{
    ++startCount;
    state = StudioPlaybackState::Playing;
    if (!Audible())
        return StudioOk;
    // Playing on a busy channel restarts it; the mixer then forgets the channel's effects.
    const int loops = description.Definition().loops ? -1 : 0;
    if (Mix_PlayChannel(channel, description.Chunk(), loops) < 0)
        return StudioErrorOutput;
    for (float& sample : muffle.memory)
        sample = 0.0f;
    if (muffle.coefficient > 0.0f)
        Mix_RegisterEffect(channel, &StudioEventInstance::ApplyMuffle, nullptr, &muffle);
    ApplyParameters();
    return StudioOk;
}

int StudioEventInstance::Stop(StudioStopMode mode)
{
    if (mode != StudioStopMode::AllowFadeOut && mode != StudioStopMode::Immediate)
        return StudioErrorInvalidArgument;
    if (state == StudioPlaybackState::Stopped)
        return StudioOk;
    if (!Audible()) {
        state = StudioPlaybackState::Stopped;
        return StudioOk;
    }
    if (mode == StudioStopMode::Immediate) {
        Mix_HaltChannel(channel);
        state = StudioPlaybackState::Stopped;
    } else if (state == StudioPlaybackState::Playing) {
        Mix_FadeOutChannel(channel, FadeOutMilliseconds);
        state = StudioPlaybackState::Stopping;
    }
    return StudioOk;
}

int StudioEventInstance::SetParameterByName(std::string_view name, float value)
{
    const auto& parameters = description.Definition().parameters;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (parameters[i].name != name)
            continue;
        parameterValues[i] = std::clamp(value, parameters[i].minimum, parameters[i].maximum);
        ApplyParameters();
        return StudioOk;
    }
    return StudioErrorParameterNotFound;
}

int StudioEventInstance::GetParameterByName(const std::string& name, float* value) const
{
    if (value == nullptr)
        return StudioErrorInvalidArgument;
    const auto& parameters = description.Definition().parameters;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (parameters[i].name == name) {
            *value = parameterValues[i];
            return StudioOk;
        }
    }
    return StudioErrorParameterNotFound;
}

float StudioEventInstance::EffectiveVolume() const
{
    return description.Definition().volume * parameterGain;
}

void StudioEventInstance::ApplyParameters()
{
    const auto& parameters = description.Definition().parameters;
    float gain = 1.0f;
    float blend = 0.0f;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const auto& parameter = parameters[i];
        const float position = (parameterValues[i] - parameter.minimum) / (parameter.maximum - parameter.minimum);
        gain *= 1.0f + position * (parameter.quietGain - 1.0f);
        if (parameter.muffleCutoffHz > 0.0f)
            blend = std::max(blend, position);
    }
    parameterGain = gain;
    muffle.blend.store(muffle.coefficient > 0.0f ? blend : 0.0f);

    // A fading channel keeps the volume the fade set; the next Start applies it again. Only a
    // playing instance looks at its sound, which may still be decoding before the first Start.
    if (state == StudioPlaybackState::Playing && Audible())
        Mix_Volume(channel, static_cast<int>(std::lround(EffectiveVolume() * MIX_MAX_VOLUME)));
}

void StudioEventInstance::Update()
{
    if (state == StudioPlaybackState::Stopped)
        return;
    if (Audible()) {
        if (Mix_Playing(channel) == 0)
            state = StudioPlaybackState::Stopped;
    } else if (!description.Definition().loops || state == StudioPlaybackState::Stopping) {
        // Silent: a one-shot counts as played out by the next frame; a loop plays until stopped.
        state = StudioPlaybackState::Stopped;
    }
}

// Runs on the mixer's audio thread. The output is signed 16-bit, interleaved.
void StudioEventInstance::ApplyMuffle(int, void* stream, int length, void* userData)
{
    auto& state = *static_cast<MuffleState*>(userData);
    const float blend = state.blend.load(std::memory_order_relaxed);
    auto* samples = static_cast<Sint16*>(stream);
    const int count = length / static_cast<int>(sizeof(Sint16));
    const int channels = state.outputChannels;
    for (int i = 0; i < count; ++i) {
        float& memory = state.memory[i % channels];
        const float dry = static_cast<float>(samples[i]);
        memory += state.coefficient * (dry - memory);  // the filter keeps running so a blend change does not click
        if (blend > 0.0f) {
            const float mixed = dry + blend * (memory - dry);
            samples[i] = static_cast<Sint16>(std::clamp(mixed, -32768.0f, 32767.0f));
        }
    }
}

}  // namespace Platform

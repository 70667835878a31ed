// Platform::StudioEventInstance: one playable copy of an event, with its own SDL_mixer channel
// and its own parameter values. Made by StudioEventDescription::CreateInstance; the sound
// service starts, stops and sets parameters on it. Owned by its description.
#pragma once

#include "platform/StudioResult.h"

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

class StudioEventDescription;

class StudioEventInstance {
public:
    // How long Stop with AllowFadeOut takes to reach silence.
    static constexpr int FadeOutMilliseconds = 400;

    // channel is the mixer channel this instance alone plays on.
    StudioEventInstance(StudioEventDescription& description, int channel);
    ~StudioEventInstance();

    StudioEventInstance(const StudioEventInstance&) = delete;
    StudioEventInstance& operator=(const StudioEventInstance&) = delete;

    // Plays the sound from its beginning, also when it is playing already.
    int Start();
    int Stop(StudioStopMode mode);
    // The value is clamped to the parameter's range.
    int SetParameterByName(std::string_view name, float value);
    int GetParameterByName(const std::string& name, float* value) const;

    StudioPlaybackState PlaybackState() const { return state; }
    // How many times Start has been called; a restart shows as a higher count.
    int StartCount() const { return startCount; }
    int Channel() const { return channel; }
    const StudioEventDescription& Description() const { return description; }
    // 1 = full volume after the event's own volume and its parameters' quieting.
    float EffectiveVolume() const;
    // 0 = dry, 1 = fully through the low-pass filter.
    float MuffleAmount() const { return muffle.blend.load(); }

    // Notices a sound that has ended by itself or finished fading; StudioSystem::Update calls it.
    void Update();

private:
    // Shared with the mixer's audio thread through the channel effect.
    struct MuffleState {
        std::atomic<float> blend{0.0f};
        float coefficient = 0.0f;  // one-pole low-pass factor for the output rate
        int outputChannels = 2;
        float memory[8] = {};       // filter state per output channel
    };

    static void ApplyMuffle(int channel, void* stream, int length, void* state);

    void ApplyParameters();
    bool Audible() const;

    StudioEventDescription& description;
    int channel;
    StudioPlaybackState state = StudioPlaybackState::Stopped;
    int startCount = 0;
    std::vector<float> parameterValues;  // same order as the description's parameters
    float parameterGain = 1.0f;
    MuffleState muffle;
};

}  // namespace Platform

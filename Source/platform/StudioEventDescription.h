// Platform::StudioEventDescription: one sound event read from a bank (its path, its sound decoded
// whole or, for long ones, streamed; looping, volume and parameters). StudioSystem::GetEvent hands it out; the sound service makes
// its one instance from it. Owned by the StudioSystem; valid until UnloadAll or Release.
#pragma once

#include "platform/SoundPreloader.h"
#include "platform/SoundStream.h"
#include "platform/StudioResult.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct Mix_Chunk;

namespace Platform {

class StudioEventInstance;
class StudioSystem;

// A named control of an event. At the parameter's maximum the event plays `quietGain` times as
// loud and through a low-pass filter at `muffleCutoffHz` (0: no filter); in between both blend
// linearly from their effect-free values at the minimum.
struct StudioParameterDescription {
    std::string name;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float quietGain = 1.0f;
    float muffleCutoffHz = 0.0f;
};

// One event entry as a bank file gives it, before its sound is loaded.
struct StudioEventDefinition {
    std::string path;            // "event:/..."
    std::filesystem::path sound;  // resolved against the bank's folder
    bool loops = false;
    float volume = 1.0f;          // 0..1
    std::vector<StudioParameterDescription> parameters;
    std::string bank;             // the bank file's path, for reports
    int line = 0;                 // line of the "event" key in the bank, for reports
    int soundLine = 0;            // line of the "sound" key
};

class StudioEventDescription {
public:
    // chunk may be null: the system runs silent and the event only keeps its state.
    StudioEventDescription(StudioSystem& system, StudioEventDefinition definition, Mix_Chunk* chunk);
    // The sound is still being decoded by the preloader, which must outlive this description;
    // it is taken from there on first use.
    StudioEventDescription(StudioSystem& system, StudioEventDefinition definition, SoundPreloader& preloader,
                           SoundPreloader::Ticket ticket);
    // The sound is long and is streamed by each instance that plays it (see SoundStream::Suits);
    // its file is read and checked on first use.
    struct Streamed {};
    StudioEventDescription(StudioSystem& system, StudioEventDefinition definition, Streamed);
    ~StudioEventDescription();

    StudioEventDescription(const StudioEventDescription&) = delete;
    StudioEventDescription& operator=(const StudioEventDescription&) = delete;

    int CreateInstance(StudioEventInstance** instance);

    const StudioEventDefinition& Definition() const { return definition; }
    // Null when the event is silent. The first call may wait for the sound's decoding; a sound
    // that cannot be decoded after all is logged once and the event stays silent.
    // Always null for a streamed sound, which is never decoded whole.
    Mix_Chunk* Chunk() const;
    bool Streams() const { return streams; }
    // Whether the event makes any sound: its chunk, or its stream's file. The first call decides,
    // as Chunk does, and a streamed sound that cannot be played is logged the same way.
    bool Playable() const;
    // A new stream at the sound's beginning, for an instance to play; null when the event is silent.
    std::unique_ptr<SoundStream> OpenStream() const;
    StudioSystem& System() const { return system; }

    // Called by StudioSystem::Update once per frame.
    void Update();

private:
    void TakeDecodedChunk() const;
    void ReadStreamedFile() const;
    void ReportSilent(const std::string& reason) const;

    StudioSystem& system;
    StudioEventDefinition definition;
    // Taking the decoded sound on first use does not change what the event is, so Chunk stays const.
    mutable Mix_Chunk* chunk;
    mutable SoundPreloader* preloader = nullptr;  // set while the sound is still to be taken
    SoundPreloader::Ticket ticket = 0;
    bool streams = false;
    // Streamed: the file, read and checked on first use like a chunk is taken (so Playable stays const).
    mutable bool streamChecked = false;
    mutable SoundStream::Encoded encoded;  // null while unchecked or when silent
    std::vector<std::unique_ptr<StudioEventInstance>> instances;
};

}  // namespace Platform

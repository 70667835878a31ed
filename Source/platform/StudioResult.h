// Result codes of the studio sound layer (StudioSystem and its banks, event descriptions and
// instances). Every call of the layer returns one; 0 is success, so callers can log the number.
#pragma once

namespace Platform {

enum StudioResult : int {
    StudioOk = 0,
    StudioErrorVersion = 1,          // the SDL_mixer found at run time is not the one built against
    StudioErrorNotInitialised = 2,   // a call that needs Initialize came before it
    StudioErrorInitialised = 3,      // Initialize called a second time
    StudioErrorOutput = 4,           // no audio device could be opened; the system runs silent
    StudioErrorDecoder = 5,          // SDL_mixer cannot decode Ogg Vorbis here
    StudioErrorFileNotFound = 6,     // a bank file cannot be opened
    StudioErrorFileBad = 7,          // a bank file is not in the sound-bank format
    StudioErrorAlreadyLoaded = 8,    // the bank at that path is loaded already
    StudioErrorEventNotFound = 9,    // no loaded bank defines that event path
    StudioErrorNoChannel = 10,       // every mixer channel belongs to an instance already
    StudioErrorParameterNotFound = 11,
    StudioErrorInvalidArgument = 12,  // a null out-pointer or an unknown stop mode
};

// How EventInstance::Stop ends a sound.
enum class StudioStopMode : int {
    AllowFadeOut = 0,
    Immediate = 1,
};

// What an event instance is doing, as last seen by StudioSystem::Update or the instance's own calls.
enum class StudioPlaybackState : int {
    Stopped = 0,
    Playing = 1,
    Stopping = 2,  // fading out after Stop
};

}  // namespace Platform

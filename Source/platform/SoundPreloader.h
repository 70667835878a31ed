// Platform::PreloadSounds: decodes a sound bank's files into mixer chunks on a few threads, so
// that StudioSystem::LoadBankFile does not wait for one file after another. LoadBankFile then
// takes the chunks in the bank's order and loads anything left out itself, as before.
#pragma once

#include <filesystem>
#include <vector>

struct Mix_Chunk;

namespace Platform {

// Returns one chunk per file, in the same order, or null where the file was not decoded here.
// Decoded here are WAV files, and Ogg Vorbis files at the output's sample rate when oggReady
// (Mix_Init set up SDL_mixer's Ogg decoder, so Mix_LoadWAV would take them too); each chunk
// holds exactly the samples Mix_LoadWAV would give. A file that is missing, of another kind, or anything unusual is left null so that the
// caller's own Mix_LoadWAV loads it or reports it with its usual reason.
// The audio device must be open. The caller owns (and frees with Mix_FreeChunk) every chunk.
std::vector<Mix_Chunk*> PreloadSounds(const std::vector<std::filesystem::path>& files, bool oggReady);

}  // namespace Platform

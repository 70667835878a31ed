#include "platform/SoundPreloader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace Platform {

namespace {

constexpr int MaxThreads = 8;

enum class SoundKind { Other, Wav, OggVorbis };

// The first bytes, read the way SDL_mixer tells the kinds apart.
SoundKind KindOf(const std::filesystem::path& file)
{
    std::array<char, 36> head{};
    std::ifstream stream(file, std::ios::binary);
    if (!stream.read(head.data(), head.size()))
        return SoundKind::Other;
    if (std::memcmp(head.data(), "RIFF", 4) == 0 && std::memcmp(head.data() + 8, "WAVE", 4) == 0)
        return SoundKind::Wav;
    if (std::memcmp(head.data(), "OggS", 4) == 0 && std::memcmp(head.data() + 28, "\x01vorbis", 7) == 0)
        return SoundKind::OggVorbis;
    return SoundKind::Other;
}

struct OutputSpec {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
};

struct VorbisFileCloser {
    void operator()(OggVorbis_File* file) const { ov_clear(file); delete file; }
};
struct AudioStreamFreer {
    void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};

// Mix_LoadWAV decodes Ogg files with the audio device locked, one at a time for the whole
// program, so they are decoded here instead: the same reads from libvorbisfile, from the start
// of the stream, through an SDL audio stream into the output's format, as SDL_mixer does. Only
// files at the output's rate whose every section keeps its channels are taken (no resampling,
// so the samples are the same however the reads fall); a read error leaves the file to Mix_LoadWAV.
Mix_Chunk* DecodeOggVorbis(const std::filesystem::path& file, const OutputSpec& output)
{
    std::unique_ptr<OggVorbis_File, VorbisFileCloser> vorbis(new OggVorbis_File{});
    if (ov_fopen(file.c_str(), vorbis.get()) != 0) {
        delete vorbis.release();  // ov_fopen has already cleared it
        return nullptr;
    }
    const vorbis_info* info = ov_info(vorbis.get(), -1);
    if (info == nullptr || info->rate != output.frequency || info->channels <= 0 || info->channels > 8)
        return nullptr;
    const int channels = info->channels;
    if (ov_time_seek(vorbis.get(), 0.0) != 0)
        return nullptr;
    std::unique_ptr<SDL_AudioStream, AudioStreamFreer> stream(SDL_NewAudioStream(
        AUDIO_S16SYS, static_cast<Uint8>(channels), output.frequency, output.format,
        static_cast<Uint8>(output.channels), output.frequency));
    if (!stream)
        return nullptr;

    std::vector<char> read(4096 * static_cast<std::size_t>(channels));
    for (;;) {
        int section = 0;
        const long amount = ov_read(vorbis.get(), read.data(), static_cast<int>(read.size()),
                                    SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &section);
        if (amount < 0)
            return nullptr;
        if (amount == 0)
            break;
        const vorbis_info* sectionInfo = ov_info(vorbis.get(), -1);
        if (sectionInfo == nullptr || sectionInfo->channels != channels || sectionInfo->rate != info->rate)
            return nullptr;
        if (SDL_AudioStreamPut(stream.get(), read.data(), static_cast<int>(amount)) != 0)
            return nullptr;
    }
    if (SDL_AudioStreamFlush(stream.get()) != 0)
        return nullptr;
    const int length = SDL_AudioStreamAvailable(stream.get());
    if (length <= 0)
        return nullptr;

    // Mix_FreeChunk frees an allocated chunk's samples and the chunk with SDL_free.
    auto* samples = static_cast<Uint8*>(SDL_malloc(static_cast<std::size_t>(length)));
    auto* chunk = static_cast<Mix_Chunk*>(SDL_malloc(sizeof(Mix_Chunk)));
    if (samples == nullptr || chunk == nullptr ||
        SDL_AudioStreamGet(stream.get(), samples, length) != length) {
        SDL_free(samples);
        SDL_free(chunk);
        return nullptr;
    }
    chunk->allocated = 1;
    chunk->abuf = samples;
    chunk->alen = static_cast<Uint32>(length);
    chunk->volume = MIX_MAX_VOLUME;
    return chunk;
}

struct Work {
    const std::vector<std::filesystem::path>* files = nullptr;
    std::vector<Mix_Chunk*>* chunks = nullptr;
    bool oggReady = false;
    OutputSpec output;
    std::atomic<std::size_t> next{0};
};

// Each file is taken by exactly one thread and written to its own slot. A failure's reason goes
// to this thread's SDL error text, which nobody reads: the caller loads that file again.
int DecodeNext(void* data)
{
    auto& work = *static_cast<Work*>(data);
    for (std::size_t index = work.next++; index < work.files->size(); index = work.next++) {
        const auto& file = (*work.files)[index];
        switch (KindOf(file)) {
        case SoundKind::Wav:  // SDL's own WAV loader needs no decoder set-up and no lock
            (*work.chunks)[index] = Mix_LoadWAV(file.string().c_str());
            break;
        case SoundKind::OggVorbis:
            if (work.oggReady)
                (*work.chunks)[index] = DecodeOggVorbis(file, work.output);
            break;
        case SoundKind::Other:
            break;
        }
    }
    return 0;
}

}  // namespace

std::vector<Mix_Chunk*> PreloadSounds(const std::vector<std::filesystem::path>& files, bool oggReady)
{
    std::vector<Mix_Chunk*> chunks(files.size(), nullptr);
    Work work;
    work.files = &files;
    work.chunks = &chunks;
    work.oggReady = oggReady;
    if (Mix_QuerySpec(&work.output.frequency, &work.output.format, &work.output.channels) == 0)
        return chunks;

    // SDL picks its sample converters the first time an audio stream is made, without a lock:
    // a stream made here first, so the decoding threads never race to make that choice.
    SDL_FreeAudioStream(SDL_NewAudioStream(AUDIO_S16SYS, 1, work.output.frequency, work.output.format,
                                           static_cast<Uint8>(work.output.channels), work.output.frequency));
    // SDL threads, not std::thread: SDL frees a thread's error text only for threads it started.
    const int helpers = std::min({SDL_GetCPUCount(), MaxThreads, static_cast<int>(files.size())}) - 1;
    std::vector<SDL_Thread*> threads;
    for (int i = 0; i < helpers; ++i) {
        if (SDL_Thread* thread = SDL_CreateThread(DecodeNext, "sound decoder", &work))
            threads.push_back(thread);
    }
    DecodeNext(&work);  // the calling thread decodes too, and alone if no thread could start
    for (SDL_Thread* thread : threads)
        SDL_WaitThread(thread, nullptr);
    return chunks;
}

}  // namespace Platform

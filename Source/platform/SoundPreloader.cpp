#include "platform/SoundPreloader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

namespace Platform {

namespace {

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
Mix_Chunk* DecodeOggVorbis(const std::filesystem::path& file, int frequency, Uint16 format, int channelsOut)
{
    std::unique_ptr<OggVorbis_File, VorbisFileCloser> vorbis(new OggVorbis_File{});
    if (ov_fopen(file.c_str(), vorbis.get()) != 0) {
        delete vorbis.release();  // ov_fopen has already cleared it
        return nullptr;
    }
    const vorbis_info* info = ov_info(vorbis.get(), -1);
    if (info == nullptr || info->rate != frequency || info->channels <= 0 || info->channels > 8)
        return nullptr;
    const int channels = info->channels;
    if (ov_time_seek(vorbis.get(), 0.0) != 0)
        return nullptr;
    std::unique_ptr<SDL_AudioStream, AudioStreamFreer> stream(SDL_NewAudioStream(
        AUDIO_S16SYS, static_cast<Uint8>(channels), frequency, format, static_cast<Uint8>(channelsOut), frequency));
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

// The quick look of Add: what a worker would refuse at once is left to the caller up front,
// so that its reason is reported when its bank is loaded.
bool OggVorbisHeadersFit(const std::filesystem::path& file, int frequency)
{
    OggVorbis_File vorbis{};
    if (ov_fopen(file.c_str(), &vorbis) != 0)
        return false;  // ov_fopen has already cleared it
    const vorbis_info* info = ov_info(&vorbis, -1);
    const bool fits = info != nullptr && info->rate == frequency && info->channels > 0 && info->channels <= 8;
    ov_clear(&vorbis);
    return fits;
}

}  // namespace

SoundPreloader::SoundPreloader(bool decodeOgg, int decoders) : oggReady(decodeOgg), threadCount(decoders)
{
    if (Mix_QuerySpec(&output.frequency, &output.format, &output.channels) == 0) {
        output = {};
        return;
    }
    // SDL picks its sample converters when the first conversion is set up, and two threads doing
    // that at once can find none ("No conversion ... available"): have it done here.
    SDL_FreeAudioStream(SDL_NewAudioStream(AUDIO_S16SYS, 1, output.frequency, output.format,
                                           static_cast<Uint8>(output.channels), output.frequency));
}

SoundPreloader::~SoundPreloader()
{
    Stop();
}

std::optional<SoundPreloader::Ticket> SoundPreloader::Add(const std::filesystem::path& file)
{
    if (output.frequency == 0)
        return std::nullopt;
    bool ogg = false;
    switch (KindOf(file)) {
    case SoundKind::Wav:
        break;
    case SoundKind::OggVorbis:
        if (!oggReady || !OggVorbisHeadersFit(file, output.frequency))
            return std::nullopt;
        ogg = true;
        break;
    case SoundKind::Other:
        return std::nullopt;
    }
    Ticket ticket = 0;
    {
        const std::lock_guard hold(mutex);
        entries.push_back({file, ogg});
        ticket = firstTicket + entries.size() - 1;
    }
    queued.notify_one();
    if (!threadsStarted)
        StartThreads();
    return ticket;
}

Mix_Chunk* SoundPreloader::Take(Ticket ticket)
{
    std::unique_lock hold(mutex);
    if (ticket < firstTicket || ticket - firstTicket >= entries.size())
        return nullptr;
    const std::size_t index = ticket - firstTicket;
    switch (entries[index].state) {
    case State::Queued: {
        // Waiting behind the files queued before it would only delay the one needed now.
        entries[index].state = State::Taken;
        const std::filesystem::path file = entries[index].file;
        const bool ogg = entries[index].ogg;
        hold.unlock();
        return Decode(file, ogg);
    }
    case State::Decoding:
        decoded.wait(hold, [&] { return entries[index].state == State::Decoded; });
        [[fallthrough]];
    case State::Decoded:
        entries[index].state = State::Taken;
        return std::exchange(entries[index].chunk, nullptr);
    case State::Taken:
        break;
    }
    return nullptr;
}

void SoundPreloader::Stop()
{
    {
        const std::lock_guard hold(mutex);
        stopping = true;
    }
    queued.notify_all();
    for (SDL_Thread* thread : threads)
        SDL_WaitThread(thread, nullptr);
    threads.clear();
    threadsStarted = false;

    const std::lock_guard hold(mutex);
    for (Entry& entry : entries) {
        if (entry.chunk != nullptr)
            Mix_FreeChunk(entry.chunk);
    }
    firstTicket += entries.size();
    entries.clear();
    next = 0;
    stopping = false;
}

void SoundPreloader::StartThreads()
{
    threadsStarted = true;
    // SDL threads, not std::thread: SDL frees a thread's error text only for threads it started.
    const int count = std::min(threadCount, SDL_GetCPUCount());
    for (int i = 0; i < count; ++i) {
        if (SDL_Thread* thread = SDL_CreateThread(&SoundPreloader::RunWorker, "sound decoder", this))
            threads.push_back(thread);
    }
}

int SoundPreloader::RunWorker(void* preloader)
{
    static_cast<SoundPreloader*>(preloader)->Work();
    return 0;
}

// A failure's reason goes to this thread's SDL error text, which nobody reads: the taker loads
// that file again.
void SoundPreloader::Work()
{
    std::unique_lock hold(mutex);
    for (;;) {
        queued.wait(hold, [&] { return stopping || next < entries.size(); });
        if (stopping)
            return;
        Entry& entry = entries[next++];
        if (entry.state != State::Queued)
            continue;  // taken before any worker reached it
        entry.state = State::Decoding;
        const std::filesystem::path file = entry.file;
        const bool ogg = entry.ogg;
        const std::size_t index = next - 1;
        hold.unlock();
        Mix_Chunk* chunk = Decode(file, ogg);
        hold.lock();
        entries[index].chunk = chunk;
        entries[index].state = State::Decoded;
        decoded.notify_all();
    }
}

Mix_Chunk* SoundPreloader::Decode(const std::filesystem::path& file, bool ogg) const
{
    if (ogg)
        return DecodeOggVorbis(file, output.frequency, output.format, output.channels);
    return Mix_LoadWAV(file.string().c_str());  // SDL's own WAV loader needs no decoder set-up and no lock
}

}  // namespace Platform

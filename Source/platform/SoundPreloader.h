// Platform::SoundPreloader: decodes sound files into mixer chunks in the background, in the order
// they are added, so that StudioSystem::LoadBankFile need not wait for them. A chunk is taken
// when its event first plays, and taking it waits for that one file only.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

struct Mix_Chunk;
struct SDL_Thread;

namespace Platform {

// Add, Take and Stop are called from one thread, the owner's; only the decoding runs elsewhere.
class SoundPreloader {
public:
    // Threads that decode in the background. One: during the start-up the game's images decode
    // on six threads too, and a second sound thread measurably delays the first frame, while the
    // one sound needed by then is decoded by its taker if the thread has not reached it.
    static constexpr int PoolThreads = 1;
    using Ticket = std::size_t;

    // Decoded are WAV files, and Ogg Vorbis files at the output's sample rate when oggReady
    // (Mix_Init set up SDL_mixer's Ogg decoder, so Mix_LoadWAV would take them too); each chunk
    // holds exactly the samples Mix_LoadWAV would give. The audio device must be open until
    // Stop. With threads 0 (or when no thread starts) a file is decoded when it is taken.
    explicit SoundPreloader(bool oggReady, int threads = PoolThreads);
    ~SoundPreloader();

    SoundPreloader(const SoundPreloader&) = delete;
    SoundPreloader& operator=(const SoundPreloader&) = delete;

    // Queues the file and returns its ticket when a quick look (its first bytes; an Ogg's
    // headers, rate and channels) finds it one of the kinds above. Otherwise, a missing file
    // too, it returns nothing: the caller's own Mix_LoadWAV loads it or says why it cannot.
    std::optional<Ticket> Add(const std::filesystem::path& file);

    // The file's chunk, once decoded; a file no thread has started yet is decoded here. Null
    // when the decode failed (the caller may try Mix_LoadWAV, which knows the reason). A ticket
    // is taken once (again, or after Stop, it gives null); the caller owns and frees the chunk
    // with Mix_FreeChunk.
    Mix_Chunk* Take(Ticket ticket);

    // Drops the files not started, waits for those in progress and frees every chunk nobody
    // took. Tickets handed out so far are spent; Add starts afresh. The destructor stops too.
    void Stop();

private:
    enum class State { Queued, Decoding, Decoded, Taken };
    struct Entry {
        std::filesystem::path file;
        bool ogg = false;  // else WAV
        State state = State::Queued;
        Mix_Chunk* chunk = nullptr;  // owned here while Decoded
    };

    static int RunWorker(void* preloader);
    void Work();
    Mix_Chunk* Decode(const std::filesystem::path& file, bool ogg) const;
    void StartThreads();

    struct OutputSpec {
        int frequency = 0;
        std::uint16_t format = 0;
        int channels = 0;
    };

    bool oggReady;
    int threadCount;
    OutputSpec output;
    std::vector<SDL_Thread*> threads;
    bool threadsStarted = false;

    // Guarded by mutex: the workers take entries from `next` on, in order.
    std::mutex mutex;
    std::condition_variable queued;   // a file was added, or the workers are to stop
    std::condition_variable decoded;  // an entry has become Decoded
    std::deque<Entry> entries;        // entries[i] belongs to ticket firstTicket + i
    Ticket firstTicket = 0;
    std::size_t next = 0;
    bool stopping = false;
};

}  // namespace Platform

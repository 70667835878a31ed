// Decoding sounds in the background: every chunk must hold exactly what SDL_mixer's own loader
// gives for that file, whoever decodes it, whatever is not decoded is left to that loader, and
// stopping with work queued loses nothing and frees everything.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/SoundPreloader.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

struct OpenMixer {
    bool open = false;
    explicit OpenMixer(int frequency = 44100)
    {
        open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(frequency, AUDIO_S16SYS, 2, 1024) == 0 &&
               (Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) != 0;
    }
    ~OpenMixer()
    {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

// A mono 16-bit WAV at 44.1 kHz whose sample bytes are all fill.
void WriteMonoWav(const std::filesystem::path& path, std::uint32_t bytes, char fill)
{
    std::string data = "RIFF";
    const std::uint32_t sizes[] = {36 + bytes, 16, 0x00010001, 44100, 88200, 0x00100002, bytes};
    std::string header;
    for (std::uint32_t size : sizes)
        header.append(reinterpret_cast<const char*>(&size), 4);
    data += header.substr(0, 4) + "WAVEfmt " + header.substr(4, 20) + "data" + header.substr(24) +
            std::string(bytes, fill);
    TestSupport::WriteFile(path, data);
}

// Every file through one preloader, in order: its chunk, or null where it was not decoded.
std::vector<Mix_Chunk*> PreloadSounds(const std::vector<std::filesystem::path>& files, bool oggReady)
{
    Platform::SoundPreloader preloader(oggReady);
    std::vector<std::optional<Platform::SoundPreloader::Ticket>> tickets;
    for (const auto& file : files)
        tickets.push_back(preloader.Add(file));
    std::vector<Mix_Chunk*> chunks;
    for (const auto& ticket : tickets)
        chunks.push_back(ticket ? preloader.Take(*ticket) : nullptr);
    return chunks;
}

std::vector<std::filesystem::path> ShippedSounds()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator("Resources/Audio/Sounds"))
        files.push_back(entry.path());
    return files;
}

// Takes the chunk and checks it against a fresh Mix_LoadWAV of the file, then frees both.
void ExpectSamplesOfSdlMixer(Mix_Chunk* chunk, const std::filesystem::path& file)
{
    SCOPED_TRACE(file.string());
    Mix_Chunk* expected = Mix_LoadWAV(file.string().c_str());
    ASSERT_NE(expected, nullptr) << Mix_GetError();
    ASSERT_NE(chunk, nullptr);
    EXPECT_EQ(chunk->alen, expected->alen);
    EXPECT_EQ(std::memcmp(chunk->abuf, expected->abuf, std::min(chunk->alen, expected->alen)), 0);
    EXPECT_EQ(chunk->volume, expected->volume);
    Mix_FreeChunk(expected);
    Mix_FreeChunk(chunk);
}

TEST(SoundPreloader, ChunksHoldTheSamplesOfSdlMixersOwnLoader)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator("Resources/Audio/Sounds"))
        files.push_back(entry.path());
    ASSERT_GE(files.size(), 20u);
    // A mono WAV, read by SDL's own loader on a decoding thread.
    const auto wav = TestSupport::TemporaryHome() / "blip.wav";
    WriteMonoWav(wav, 800, '\x10');
    files.push_back(wav);

    const std::vector<Mix_Chunk*> chunks = PreloadSounds(files, true);
    ASSERT_EQ(chunks.size(), files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].string());
        Mix_Chunk* expected = Mix_LoadWAV(files[i].string().c_str());
        ASSERT_NE(expected, nullptr) << Mix_GetError();
        ASSERT_NE(chunks[i], nullptr);
        ASSERT_EQ(chunks[i]->alen, expected->alen);
        EXPECT_EQ(std::memcmp(chunks[i]->abuf, expected->abuf, expected->alen), 0);
        EXPECT_EQ(chunks[i]->volume, expected->volume);
        Mix_FreeChunk(expected);
        Mix_FreeChunk(chunks[i]);
    }
}

TEST(SoundPreloader, LeavesWhatItCannotDecodeToTheCaller)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    const auto folder = TestSupport::TemporaryHome();
    const std::filesystem::path ogg = "Resources/Audio/Sounds/Player_Jump.ogg";
    std::string truncated = TestSupport::ReadFile(ogg);
    truncated.resize(truncated.size() / 3);
    TestSupport::WriteFile(folder / "truncated.ogg", truncated);
    TestSupport::WriteFile(folder / "garbage.ogg", "this is not audio, not even close to it");
    std::string opus = TestSupport::ReadFile(ogg);
    opus.replace(28, 7, "OpusHea");  // another codec in an Ogg file
    TestSupport::WriteFile(folder / "opus.ogg", opus);

    const std::vector<std::filesystem::path> files = {folder / "missing.ogg", folder / "garbage.ogg",
                                                      folder / "opus.ogg", folder / "truncated.ogg", "", ogg};
    const std::vector<Mix_Chunk*> chunks = PreloadSounds(files, true);
    ASSERT_EQ(chunks.size(), files.size());
    for (std::size_t i = 0; i + 1 < files.size(); ++i)
        EXPECT_EQ(chunks[i], nullptr) << files[i];
    EXPECT_NE(chunks.back(), nullptr);
    Mix_FreeChunk(chunks.back());

    // Without SDL_mixer's Ogg decoder set up, Ogg files are all left to the caller.
    const std::vector<Mix_Chunk*> withoutOgg = PreloadSounds({ogg}, false);
    EXPECT_EQ(withoutOgg.front(), nullptr);
}

TEST(SoundPreloader, TheSamplesAreTheSameWhetherATakerOrAThreadDecodes)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    std::vector<std::filesystem::path> files = ShippedSounds();
    // Cut short in mid-page: libvorbisfile ends cleanly at the last whole page, as SDL_mixer does.
    std::string cut = TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg");
    cut.resize(cut.size() / 2);
    files.push_back(TestSupport::TemporaryHome() / "cut short.ogg");
    TestSupport::WriteFile(files.back(), cut);

    // With no thread every file is decoded by its taker; with the pool, taking them last first
    // finds some decoded, one perhaps in progress and the rest not yet started.
    for (const int threads : {0, Platform::SoundPreloader::PoolThreads}) {
        SCOPED_TRACE(threads);
        Platform::SoundPreloader preloader(true, threads);
        std::vector<Platform::SoundPreloader::Ticket> tickets;
        for (const auto& file : files) {
            const auto ticket = preloader.Add(file);
            ASSERT_TRUE(ticket) << file;
            tickets.push_back(*ticket);
        }
        for (std::size_t i = files.size(); i-- > 0;)
            ExpectSamplesOfSdlMixer(preloader.Take(tickets[i]), files[i]);
        EXPECT_EQ(preloader.Take(tickets.front()), nullptr) << "a ticket is taken once";
    }
}

TEST(SoundPreloader, AnOggAtAnotherRateThanTheOutputIsLeftToTheCaller)
{
    OpenMixer mixer(48000);
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    const auto wav = TestSupport::TemporaryHome() / "silence.wav";
    WriteMonoWav(wav, 400, '\0');

    Platform::SoundPreloader preloader(true);
    EXPECT_FALSE(preloader.Add("Resources/Audio/Sounds/Player_Jump.ogg"));
    // SDL's WAV loader converts any rate itself.
    const auto ticket = preloader.Add(wav);
    ASSERT_TRUE(ticket);
    ExpectSamplesOfSdlMixer(preloader.Take(*ticket), wav);
}

TEST(SoundPreloader, StopFreesWhatNobodyTookAndStartsAfresh)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    const std::vector<std::filesystem::path> files = ShippedSounds();
    std::vector<Platform::SoundPreloader::Ticket> tickets;
    {
        Platform::SoundPreloader preloader(true);
        for (int round = 0; round < 3; ++round) {
            for (const auto& file : files)
                tickets.push_back(preloader.Add(file).value());
        }
        ExpectSamplesOfSdlMixer(preloader.Take(tickets[1]), files[1]);
        preloader.Stop();  // most files still queued, one perhaps in progress
        for (const auto ticket : tickets)
            EXPECT_EQ(preloader.Take(ticket), nullptr) << "tickets from before Stop are spent";

        const auto again = preloader.Add(files[1]);
        ASSERT_TRUE(again);
        ExpectSamplesOfSdlMixer(preloader.Take(*again), files[1]);
        for (const auto& file : files)
            preloader.Add(file);
    }  // and the destructor stops with work queued too
}

}  // namespace

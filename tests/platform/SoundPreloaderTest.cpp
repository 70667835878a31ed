// Decoding a bank's sounds ahead on several threads: every chunk must hold exactly what
// SDL_mixer's own loader gives for that file, and whatever is not decoded ahead is left to it.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/SoundPreloader.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct OpenMixer {
    bool open = false;
    OpenMixer()
    {
        open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0 &&
               (Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) != 0;
    }
    ~OpenMixer()
    {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

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
    std::string data = "RIFF";
    const std::uint32_t sizes[] = {36 + 800, 16, 0x00010001, 44100, 88200, 0x00100002, 800};
    std::string header;
    for (std::uint32_t size : sizes)
        header.append(reinterpret_cast<const char*>(&size), 4);
    data += header.substr(0, 4) + "WAVEfmt " + header.substr(4, 20) + "data" + header.substr(24) +
            std::string(800, '\x10');
    TestSupport::WriteFile(wav, data);
    files.push_back(wav);

    const std::vector<Mix_Chunk*> chunks = Platform::PreloadSounds(files, true);
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
    const std::vector<Mix_Chunk*> chunks = Platform::PreloadSounds(files, true);
    ASSERT_EQ(chunks.size(), files.size());
    for (std::size_t i = 0; i + 1 < files.size(); ++i)
        EXPECT_EQ(chunks[i], nullptr) << files[i];
    EXPECT_NE(chunks.back(), nullptr);
    Mix_FreeChunk(chunks.back());

    // Without SDL_mixer's Ogg decoder set up, Ogg files are all left to the caller.
    const std::vector<Mix_Chunk*> withoutOgg = Platform::PreloadSounds({ogg}, false);
    EXPECT_EQ(withoutOgg.front(), nullptr);
}

}  // namespace

// Streaming long sounds: the samples must be exactly those SDL_mixer's own loader gives for the
// whole file, however the mixer's reads fall, round and round for a loop without a seam; damage
// ends the sound where the loader ends it; only long Ogg Vorbis files at the output's rate stream.
#include <gtest/gtest.h>

#include "OggPages.h"
#include "TestSupport.h"
#include "platform/SoundStream.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Platform::SoundStream;

struct OpenMixer {
    bool open = false;
    SoundStream::OutputSpec output;
    OpenMixer()
    {
        open = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) == 0 &&
               (Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG) != 0;
        if (open)
            Mix_QuerySpec(&output.frequency, &output.format, &output.channels);
    }
    ~OpenMixer()
    {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

using SoundTests::OggPages;

// What the mixer's chunk loader gives for the file.
std::vector<std::uint8_t> LoadWhole(const std::filesystem::path& file)
{
    Mix_Chunk* chunk = Mix_LoadWAV(file.string().c_str());
    if (chunk == nullptr)
        return {};
    std::vector<std::uint8_t> samples(chunk->abuf, chunk->abuf + chunk->alen);
    Mix_FreeChunk(chunk);
    return samples;
}

std::unique_ptr<SoundStream> OpenStream(const std::filesystem::path& file, const SoundStream::OutputSpec& output)
{
    std::string reason;
    SoundStream::Encoded encoded = SoundStream::ReadFile(file, reason);
    EXPECT_NE(encoded, nullptr) << reason;
    if (encoded == nullptr)
        return nullptr;
    auto stream = SoundStream::Open(encoded, output, reason);
    EXPECT_NE(stream, nullptr) << reason;
    return stream;
}

// Reads that many bytes in pieces of the given sizes, taken in turn (whole frames, as the mixer asks).
std::vector<std::uint8_t> ReadInPieces(SoundStream& stream, std::size_t total, const std::vector<int>& pieces,
                                       bool loops)
{
    std::vector<std::uint8_t> out(total, 0xAB);
    std::size_t at = 0;
    for (std::size_t turn = 0; at < total; ++turn) {
        const int piece = static_cast<int>(std::min<std::size_t>(pieces[turn % pieces.size()], total - at));
        stream.Read(out.data() + at, piece, loops);
        at += static_cast<std::size_t>(piece);
    }
    return out;
}

TEST(SoundStream, GivesTheSamplesOfTheWholeDecodeAndLoopsWithoutASeam)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    const std::filesystem::path file = "Resources/Audio/Sounds/Menu_Music_Intro.ogg";
    const std::vector<std::uint8_t> whole = LoadWhole(file);
    ASSERT_GT(whole.size(), 44100u * 4 * 5);

    // Mixer-sized reads, odd sizes, and one read of more than the whole sound.
    const std::vector<std::vector<int>> readings = {{4096}, {4, 1020, 8192, 12}, {static_cast<int>(whole.size()) + 4000}};
    for (const auto& pieces : readings) {
        SCOPED_TRACE(pieces.front());
        auto stream = OpenStream(file, mixer.output);
        ASSERT_NE(stream, nullptr);
        const std::size_t total = whole.size() * 2 + whole.size() / 3;
        const std::vector<std::uint8_t> looped = ReadInPieces(*stream, total, pieces, true);
        for (std::size_t pass = 0; pass * whole.size() < total; ++pass) {
            const std::size_t from = pass * whole.size();
            const std::size_t length = std::min(whole.size(), total - from);
            ASSERT_EQ(std::memcmp(looped.data() + from, whole.data(), length), 0) << "pass " << pass;
        }
        EXPECT_FALSE(stream->Finished());

        // Rewound, it plays once and then gives silence, and says so.
        ASSERT_TRUE(stream->Rewind());
        const std::vector<std::uint8_t> once = ReadInPieces(*stream, whole.size() + 10000, pieces, false);
        EXPECT_EQ(std::memcmp(once.data(), whole.data(), whole.size()), 0);
        EXPECT_TRUE(std::all_of(once.begin() + static_cast<long>(whole.size()), once.end(),
                                [](std::uint8_t byte) { return byte == 0; }));
        EXPECT_TRUE(stream->Finished());
        std::vector<std::uint8_t> after(4096, 0xAB);
        EXPECT_EQ(stream->Read(after.data(), 4096, false), 0);
        EXPECT_EQ(after, std::vector<std::uint8_t>(4096, 0));
    }
}

TEST(SoundStream, DamageEndsTheSoundWhereTheMixersLoaderEndsIt)
{
    OpenMixer mixer;
    ASSERT_TRUE(mixer.open) << Mix_GetError();
    const auto folder = TestSupport::TemporaryHome() / "streams";
    const std::vector<std::string> intro = OggPages(TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg"));
    ASSERT_GE(intro.size(), 12u);
    // A missing page after two of sound, and the last page, so that the file still claims its length.
    const auto hole = folder / "hole.ogg";
    TestSupport::WriteFile(hole, intro[0] + intro[1] + intro[2] + intro[3] + intro[5] + intro.back());
    const std::vector<std::uint8_t> whole = LoadWhole(hole);
    ASSERT_GT(whole.size(), 0u);
    ASSERT_LT(whole.size(), 44100u * 4 * 2);

    auto stream = OpenStream(hole, mixer.output);
    ASSERT_NE(stream, nullptr);
    EXPECT_TRUE(stream->HasSound());
    const std::vector<std::uint8_t> looped = ReadInPieces(*stream, whole.size() * 2, {4096}, true);
    EXPECT_EQ(std::memcmp(looped.data(), whole.data(), whole.size()), 0);
    EXPECT_EQ(std::memcmp(looped.data() + whole.size(), whole.data(), whole.size()), 0) << "the loop starts again";

    // Headers, then nothing libvorbisfile can read: no sound, and a loop does not spin on it.
    std::string garbage(6000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 7919) >> 3);
    const auto noSound = folder / "no sound.ogg";
    TestSupport::WriteFile(noSound, intro[0] + intro[1] + garbage + intro.back());
    auto silent = OpenStream(noSound, mixer.output);
    ASSERT_NE(silent, nullptr);
    EXPECT_FALSE(silent->HasSound());
    std::vector<std::uint8_t> out(8192, 0xAB);
    EXPECT_EQ(silent->Read(out.data(), 8192, true), 0);
    EXPECT_TRUE(silent->Finished());
    EXPECT_EQ(out, std::vector<std::uint8_t>(8192, 0));

    std::string reason;
    const auto bytes = std::make_shared<const std::vector<unsigned char>>(garbage.begin(), garbage.end());
    EXPECT_EQ(SoundStream::Open(bytes, mixer.output, reason), nullptr);
    EXPECT_EQ(reason, "its Ogg Vorbis headers cannot be read");
    EXPECT_EQ(SoundStream::ReadFile(folder / "missing.ogg", reason), nullptr);
    EXPECT_EQ(reason, "the file cannot be opened");
}

TEST(SoundStream, OnlyLongOggVorbisFilesAtTheOutputRateStream)
{
    const auto folder = TestSupport::TemporaryHome() / "suits";
    const std::vector<std::string> intro = OggPages(TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg"));
    TestSupport::WriteFile(folder / "short.ogg", intro[0] + intro[1] + intro[2] + intro[3]);
    TestSupport::WriteFile(folder / "not ogg.ogg", std::string(200, 'x'));
    struct Case {
        std::filesystem::path file;
        int frequency;
        bool streams;
    };
    const std::vector<Case> cases = {
        {"Resources/Audio/Sounds/Menu_Music_Intro.ogg", 44100, true},
        {"Resources/Audio/Sounds/Level4_LevelMusic.ogg", 44100, true},
        {"Resources/Audio/Sounds/Level4_LevelMusic.ogg", 48000, false},  // would need resampling
        {"Resources/Audio/Sounds/Level4_WinStinger.ogg", 44100, false},  // 3 seconds
        {"Resources/Audio/Sounds/Player_Jump.ogg", 44100, false},
        {folder / "short.ogg", 44100, false},
        {folder / "not ogg.ogg", 44100, false},
        {folder / "missing.ogg", 44100, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SoundStream::Suits(c.file, c.frequency), c.streams) << c.file << " at " << c.frequency;
}

}  // namespace

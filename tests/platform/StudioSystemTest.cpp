// The studio layer with SDL's dummy audio driver (the test main sets it): banks, events,
// instances and their state, the "Paused"-style parameter effect, and running with no device.
#include <gtest/gtest.h>

#include "OggPages.h"
#include "TestSupport.h"
#include "core/Log.h"
#include "editor/Editor.h"
#include "platform/StudioBank.h"
#include "platform/StudioEventDescription.h"
#include "platform/StudioEventInstance.h"
#include "platform/StudioSystem.h"

#include <SDL_mixer.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>

namespace {

using namespace Platform;
using namespace std::chrono_literals;
using namespace std::string_literals;

std::string AllLogLines()
{
    std::string text;
    for (const auto& line : Engine::Editor::Instance().logLines)
        text += line;
    return text;
}

// How many log lines hold that text.
int LogLinesWith(const std::string& text)
{
    int count = 0;
    for (const auto& line : Engine::Editor::Instance().logLines)
        count += line.find(text) != std::string::npos ? 1 : 0;
    return count;
}

using SoundTests::OggPages;

// The page with each packet that starts in it marked as a header packet, its checksum made good:
// a well-formed page whose audio the decoder turns down.
std::string WithPacketsMarkedAsHeaders(std::string page)
{
    const auto segments = static_cast<unsigned char>(page[26]);
    std::size_t at = 27 + segments;
    bool packetStarts = (static_cast<unsigned char>(page[5]) & 1) == 0;  // not continued from the page before
    for (std::size_t i = 0; i < segments; ++i) {
        const auto lacing = static_cast<unsigned char>(page[27 + i]);
        if (packetStarts && lacing > 0)
            page[at] = static_cast<char>(page[at] | 1);
        packetStarts = lacing < 255;
        at += lacing;
    }
    std::uint32_t crc = 0;
    page[22] = page[23] = page[24] = page[25] = 0;
    for (const char byte : page) {
        crc ^= static_cast<std::uint32_t>(static_cast<unsigned char>(byte)) << 24;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04c11db7u : crc << 1;
    }
    for (int i = 0; i < 4; ++i)
        page[22 + static_cast<std::size_t>(i)] = static_cast<char>((crc >> (8 * i)) & 0xff);
    return page;
}

// A mono 16-bit WAV file of a square wave.
void WriteSquareWave(const std::filesystem::path& path, double hz, double seconds)
{
    constexpr std::uint32_t rate = 44100;
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    std::string data;
    auto put16 = [&](std::uint16_t v) { data += static_cast<char>(v & 0xff); data += static_cast<char>(v >> 8); };
    auto put32 = [&](std::uint32_t v) { put16(static_cast<std::uint16_t>(v & 0xffff)); put16(static_cast<std::uint16_t>(v >> 16)); };
    data += "RIFF";
    put32(36 + frames * 2);
    data += "WAVEfmt ";
    put32(16);
    put16(1);  // PCM
    put16(1);  // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    data += "data";
    put32(frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double phase = std::fmod(hz * i / rate, 1.0);
        put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(phase < 0.5 ? 12000 : -12000)));
    }
    TestSupport::WriteFile(path, data);
}

// A bank in the temporary home with a looping tone, a short one-shot and a muffled tone.
std::string WriteToneBank()
{
    const auto folder = TestSupport::TemporaryHome() / "bank";
    WriteSquareWave(folder / "tone.wav", 5000.0, 1.0);
    WriteSquareWave(folder / "blip.wav", 800.0, 0.05);
    const auto path = folder / "Tones.bank";
    TestSupport::WriteFile(path,
                           "soundbank 1\n"
                           "event event:/Tones/Loop\n"
                           "sound tone.wav\n"
                           "loop yes\n"
                           "volume 0.5\n"
                           "parameter Paused 0 100 quiet 0.25 muffle 700\n"
                           "event event:/Tones/Blip\n"
                           "sound blip.wav\n"
                           "event event:/Tones/Muffled\n"
                           "sound tone.wav\n"
                           "loop yes\n"
                           "parameter Muffle 0 1 muffle 400\n");
    return path.string();
}

// What the mixer sends to the (dummy) device. The audio it has mixed is the tests' clock:
// windows and waits are counted in samples of output, not in wall time, so a slow or busy
// machine makes them take longer but never changes what they measure.
class OutputMeter {
public:
    // Starts counting what the mixer sends (the audio must be open).
    void Install()
    {
        int frequency = 0;
        Uint16 format = 0;
        int channels = 0;
        ASSERT_NE(Mix_QuerySpec(&frequency, &format, &channels), 0) << Mix_GetError();
        ASSERT_EQ(format, AUDIO_S16SYS);
        samplesPerSecond = static_cast<long>(frequency) * channels;
        Mix_SetPostMix(&OutputMeter::Measure, this);
    }
    void Remove() { Mix_SetPostMix(nullptr, nullptr); }

    // Waits until the mixer has sent that much more audio; false when it stopped mixing.
    bool Await(std::chrono::milliseconds audio)
    {
        std::unique_lock lock(mutex);
        const long target = mixed + samplesPerSecond * audio.count() / 1000;
        // Only a guard against a device that never mixes: no measurement reads this clock.
        return progress.wait_for(lock, 30s, [&] { return mixed >= target; });
    }

    // The RMS of the output over that much audio, or -1 when the mixer stopped mixing.
    double RmsOver(std::chrono::milliseconds audio)
    {
        {
            std::lock_guard lock(mutex);
            sumSquares = 0.0;
            windowSamples = 0;
        }
        if (!Await(audio))
            return -1.0;
        std::lock_guard lock(mutex);
        return windowSamples == 0 ? -1.0 : std::sqrt(sumSquares / static_cast<double>(windowSamples));
    }

private:
    static void Measure(void* self, Uint8* stream, int length)
    {
        auto& meter = *static_cast<OutputMeter*>(self);
        const auto* values = reinterpret_cast<const Sint16*>(stream);
        {
            std::lock_guard lock(meter.mutex);
            for (int i = 0; i < length / 2; ++i)
                meter.sumSquares += static_cast<double>(values[i]) * values[i];
            meter.windowSamples += length / 2;
            meter.mixed += length / 2;
        }
        meter.progress.notify_all();
    }

    std::mutex mutex;
    std::condition_variable progress;
    long samplesPerSecond = 0;
    long mixed = 0;  // samples sent since Install
    double sumSquares = 0.0;
    long windowSamples = 0;
};

struct Studio {
    std::unique_ptr<StudioSystem> system;
    OutputMeter meter;  // counting from OpenWithToneBank on
    Studio()
    {
        InitializeLogging();
        EXPECT_EQ(StudioSystem::Create(system), StudioOk);
    }
    ~Studio()
    {
        meter.Remove();
        system.reset();
    }
    // Initialises the system with that many channels, loads the tone bank and starts the
    // meter; null on failure.
    StudioBank* OpenWithToneBank(int channels)
    {
        StudioBank* bank = nullptr;
        EXPECT_EQ(system->Initialize(channels), StudioOk);
        EXPECT_EQ(system->LoadBankFile(WriteToneBank(), &bank), StudioOk);
        meter.Install();
        return bank;
    }
    StudioEventInstance* Make(const std::string& eventPath)
    {
        StudioEventDescription* description = nullptr;
        EXPECT_EQ(system->GetEvent(eventPath, &description), StudioOk) << eventPath;
        StudioEventInstance* instance = nullptr;
        if (description != nullptr) {
            EXPECT_EQ(description->CreateInstance(&instance), StudioOk);
        }
        return instance;
    }
    // Runs a frame after every 10 ms of mixed audio until the instance has stopped or that
    // much audio has gone by.
    bool WaitUntilStopped(const StudioEventInstance& instance, std::chrono::milliseconds audio)
    {
        for (std::chrono::milliseconds mixed{0}; mixed <= audio; mixed += 10ms) {
            system->Update();
            if (instance.PlaybackState() == StudioPlaybackState::Stopped)
                return true;
            if (!meter.Await(10ms))
                return false;
        }
        return false;
    }
};

TEST(StudioSystem, DecodesTheShippedOggSounds)
{
    Studio studio;
    ASSERT_EQ(studio.system->Initialize(64), StudioOk);
    EXPECT_TRUE(studio.system->AudioOpen());
    EXPECT_NE(Mix_Init(MIX_INIT_OGG) & MIX_INIT_OGG, 0);
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile("Resources/Audio/Sound Effects.bank", &bank), StudioOk);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->EventPaths().size(), 10u);
    StudioEventDescription* jump = nullptr;
    ASSERT_EQ(studio.system->GetEvent("event:/Sound Effects/Player/Player_Jump", &jump), StudioOk);
    ASSERT_NE(jump->Chunk(), nullptr);
    EXPECT_GT(jump->Chunk()->alen, 0u);
    EXPECT_EQ(AllLogLines().find("[error]"), std::string::npos) << AllLogLines();
}

TEST(StudioSystem, CallsReturnTheirResultCodes)
{
    Studio studio;
    StudioBank* bank = nullptr;
    StudioEventDescription* description = nullptr;
    EXPECT_EQ(studio.system->LoadBankFile(WriteToneBank(), &bank), StudioErrorNotInitialised);
    EXPECT_EQ(studio.system->GetEvent("event:/Tones/Loop", &description), StudioErrorNotInitialised);
    EXPECT_EQ(studio.system->Update(), StudioErrorNotInitialised);

    EXPECT_EQ(studio.system->Initialize(0), StudioErrorInvalidArgument);
    ASSERT_EQ(studio.system->Initialize(8), StudioOk);
    EXPECT_EQ(studio.system->Initialize(8), StudioErrorInitialised);
    EXPECT_EQ(studio.system->LoadBankFile(WriteToneBank(), nullptr), StudioErrorInvalidArgument);
    ASSERT_EQ(studio.system->LoadBankFile(WriteToneBank(), &bank), StudioOk);
    StudioBank* again = nullptr;
    EXPECT_EQ(studio.system->LoadBankFile(WriteToneBank(), &again), StudioErrorAlreadyLoaded);
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(studio.system->LoadBankFile("Resources/Audio/No Such.bank", &again), StudioErrorFileNotFound);
    EXPECT_NE(AllLogLines().find("Sound bank 'Resources/Audio/No Such.bank' cannot be opened"), std::string::npos);
    EXPECT_EQ(studio.system->GetEvent("event:/Tones/loop", &description), StudioErrorEventNotFound);
    EXPECT_EQ(description, nullptr);
    EXPECT_EQ(studio.system->Update(), StudioOk);

    StudioEventInstance* loop = studio.Make("event:/Tones/Loop");
    ASSERT_NE(loop, nullptr);
    float value = -1.0f;
    EXPECT_EQ(loop->GetParameterByName("Paused", &value), StudioOk);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(loop->SetParameterByName("paused", 1.0f), StudioErrorParameterNotFound);
    EXPECT_EQ(loop->GetParameterByName("Paused", nullptr), StudioErrorInvalidArgument);
    EXPECT_EQ(loop->Stop(static_cast<StudioStopMode>(7)), StudioErrorInvalidArgument);
    EXPECT_EQ(studio.system->UnloadAll(), StudioOk);
    EXPECT_EQ(studio.system->Release(), StudioOk);
    EXPECT_EQ(studio.system->Release(), StudioOk);
}

TEST(StudioSystem, EachInstanceHasItsOwnChannelUntilTheyRunOut)
{
    Studio studio;
    StudioBank* bank = studio.OpenWithToneBank(2);
    ASSERT_NE(bank, nullptr);
    StudioEventInstance* first = studio.Make("event:/Tones/Blip");
    StudioEventInstance* second = studio.Make("event:/Tones/Blip");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    EXPECT_NE(first->Channel(), second->Channel());
    StudioEventDescription* description = nullptr;
    ASSERT_EQ(studio.system->GetEvent("event:/Tones/Blip", &description), StudioOk);
    StudioEventInstance* third = nullptr;
    EXPECT_EQ(description->CreateInstance(&third), StudioErrorNoChannel);
    EXPECT_EQ(third, nullptr);
}

TEST(StudioSystem, StartRestartsAndStopFadesOut)
{
    Studio studio;
    StudioBank* bank = studio.OpenWithToneBank(8);
    ASSERT_NE(bank, nullptr);
    StudioEventInstance* loop = studio.Make("event:/Tones/Loop");
    StudioEventInstance* blip = studio.Make("event:/Tones/Blip");
    ASSERT_NE(loop, nullptr);
    ASSERT_NE(blip, nullptr);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Stopped);
    EXPECT_EQ(loop->Stop(StudioStopMode::AllowFadeOut), StudioOk);  // stopping a stopped instance is fine

    EXPECT_EQ(loop->Start(), StudioOk);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Playing);
    EXPECT_EQ(Mix_Playing(loop->Channel()), 1);
    EXPECT_EQ(Mix_Volume(loop->Channel(), -1), MIX_MAX_VOLUME / 2);
    EXPECT_EQ(loop->Start(), StudioOk);
    EXPECT_EQ(loop->StartCount(), 2);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Playing);

    // A one-shot ends by itself; a loop goes on.
    EXPECT_EQ(blip->Start(), StudioOk);
    EXPECT_TRUE(studio.WaitUntilStopped(*blip, 2000ms));
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Playing);

    // Stop fades the loop out over a moment instead of cutting it.
    EXPECT_EQ(loop->Stop(StudioStopMode::AllowFadeOut), StudioOk);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Stopping);
    studio.system->Update();
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Stopping);
    EXPECT_TRUE(studio.WaitUntilStopped(*loop, 3000ms));

    // Started again after a fade, the loop plays at its full volume again.
    EXPECT_EQ(loop->Start(), StudioOk);
    EXPECT_EQ(Mix_Volume(loop->Channel(), -1), MIX_MAX_VOLUME / 2);
    EXPECT_EQ(loop->Stop(StudioStopMode::Immediate), StudioOk);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Stopped);
    EXPECT_EQ(Mix_Playing(loop->Channel()), 0);
}

TEST(StudioSystem, ParameterQuietensAndIsClamped)
{
    Studio studio;
    StudioBank* bank = studio.OpenWithToneBank(8);
    ASSERT_NE(bank, nullptr);
    StudioEventInstance* loop = studio.Make("event:/Tones/Loop");
    ASSERT_NE(loop, nullptr);
    ASSERT_EQ(loop->Start(), StudioOk);

    struct Case {
        float set;
        float stored;
        float volume;  // the event's 0.5 times the parameter's gain
        float muffle;
    };
    const std::vector<Case> cases = {
        {100.0f, 100.0f, 0.125f, 1.0f},
        {0.0f, 0.0f, 0.5f, 0.0f},
        {50.0f, 50.0f, 0.3125f, 0.5f},
        {250.0f, 100.0f, 0.125f, 1.0f},
        {-3.0f, 0.0f, 0.5f, 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(loop->SetParameterByName("Paused", c.set), StudioOk);
        float value = -1.0f;
        EXPECT_EQ(loop->GetParameterByName("Paused", &value), StudioOk);
        EXPECT_FLOAT_EQ(value, c.stored) << c.set;
        EXPECT_FLOAT_EQ(loop->EffectiveVolume(), c.volume) << c.set;
        EXPECT_FLOAT_EQ(loop->MuffleAmount(), c.muffle) << c.set;
        EXPECT_EQ(Mix_Volume(loop->Channel(), -1), static_cast<int>(std::lround(c.volume * MIX_MAX_VOLUME))) << c.set;
    }
    // The value outlives a restart and still applies.
    EXPECT_EQ(loop->SetParameterByName("Paused", 100.0f), StudioOk);
    EXPECT_EQ(loop->Start(), StudioOk);
    EXPECT_EQ(Mix_Volume(loop->Channel(), -1), static_cast<int>(std::lround(0.125f * MIX_MAX_VOLUME)));
}

TEST(StudioSystem, MuffleFiltersTheInstancesOwnChannel)
{
    Studio studio;
    StudioBank* bank = studio.OpenWithToneBank(8);
    ASSERT_NE(bank, nullptr);
    StudioEventInstance* tone = studio.Make("event:/Tones/Muffled");
    ASSERT_NE(tone, nullptr);
    OutputMeter& meter = studio.meter;

    ASSERT_EQ(tone->Start(), StudioOk);
    ASSERT_TRUE(meter.Await(100ms));
    const double dry = meter.RmsOver(300ms);
    ASSERT_GT(dry, 1000.0) << "the dummy device should be mixing";

    // The parameter has no quieting of its own: what drops is the 5 kHz tone's high end.
    EXPECT_EQ(tone->SetParameterByName("Muffle", 1.0f), StudioOk);
    EXPECT_FLOAT_EQ(tone->EffectiveVolume(), 1.0f);
    ASSERT_TRUE(meter.Await(100ms));
    const double muffled = meter.RmsOver(300ms);
    EXPECT_LT(muffled, dry * 0.35);
    EXPECT_GT(muffled, 0.0);

    // A restart drops the mixer's effects; the instance puts its filter back.
    EXPECT_EQ(tone->Start(), StudioOk);
    ASSERT_TRUE(meter.Await(100ms));
    EXPECT_LT(meter.RmsOver(300ms), dry * 0.35);

    EXPECT_EQ(tone->SetParameterByName("Muffle", 0.0f), StudioOk);
    ASSERT_TRUE(meter.Await(100ms));
    EXPECT_GT(meter.RmsOver(300ms), dry * 0.8);
}

TEST(StudioSystem, BankEntriesThatCannotPlayAreLeftOut)
{
    Studio studio;
    StudioBank* tones = studio.OpenWithToneBank(8);
    ASSERT_NE(tones, nullptr);
    const auto folder = TestSupport::TemporaryHome() / "bank";
    TestSupport::WriteFile(folder / "garbage.ogg", "this is not audio");
    TestSupport::WriteFile(folder / "More.bank",
                           "soundbank 1\n"
                           "event event:/Tones/Loop\n"        // 2: already defined by Tones.bank
                           "sound blip.wav\n"
                           "event event:/More/Missing\n"      // 4
                           "sound missing.ogg\n"              // 5
                           "event event:/More/Garbage\n"      // 6
                           "sound garbage.ogg\n"              // 7
                           "event event:/More/Fine\n"
                           "sound blip.wav\n");
    const std::string morePath = (folder / "More.bank").string();
    StudioBank* more = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile(morePath, &more), StudioOk);
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->EventPaths(), std::vector<std::string>{"event:/More/Fine"});
    const std::string log = AllLogLines();
    EXPECT_NE(log.find(morePath + ":2: event 'event:/Tones/Loop' is defined already"), std::string::npos) << log;
    EXPECT_NE(log.find(morePath + ":5: sound '"), std::string::npos) << log;
    EXPECT_NE(log.find(morePath + ":7: sound '"), std::string::npos) << log;

    // The first definition of the doubled path is the one that stays.
    StudioEventDescription* loop = nullptr;
    ASSERT_EQ(studio.system->GetEvent("event:/Tones/Loop", &loop), StudioOk);
    EXPECT_TRUE(loop->Definition().loops);
    StudioEventDescription* missing = nullptr;
    EXPECT_EQ(studio.system->GetEvent("event:/More/Missing", &missing), StudioErrorEventNotFound);
}

TEST(StudioSystem, BrokenSoundsAreReportedInBankOrderWithTheirOwnReasons)
{
    // The sounds are decoded together, but the report reads as if they were loaded one by one.
    Studio studio;
    ASSERT_NE(studio.OpenWithToneBank(8), nullptr);
    const auto folder = TestSupport::TemporaryHome() / "bank";
    TestSupport::WriteFile(folder / "garbage.ogg", "this is not audio");
    std::string truncated = TestSupport::ReadFile("Resources/Audio/Sounds/Player_Jump.ogg");
    truncated.resize(40);
    TestSupport::WriteFile(folder / "truncated.ogg", truncated);
    TestSupport::WriteFile(folder / "Broken.bank",
                           "soundbank 1\n"
                           "event event:/Broken/Twice\n"     // 2: its sound is missing ...
                           "sound missing.ogg\n"
                           "event event:/Broken/Garbage\n"
                           "sound garbage.ogg\n"             // 5
                           "event event:/Broken/Twice\n"     // ... so this later entry is kept
                           "sound blip.wav\n"
                           "event event:/Broken/Truncated\n"
                           "sound truncated.ogg\n"           // 9
                           "event event:/Broken/Twice\n"     // 10: defined by line 6 now
                           "sound tone.wav\n"
                           "event event:/Broken/Missing\n"
                           "sound missing.wav\n");           // 13
    const std::string bankPath = (folder / "Broken.bank").string();
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile(bankPath, &bank), StudioOk);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->EventPaths(), std::vector<std::string>{"event:/Broken/Twice"});
    StudioEventDescription* twice = nullptr;
    ASSERT_EQ(studio.system->GetEvent("event:/Broken/Twice", &twice), StudioOk);
    EXPECT_EQ(twice->Definition().line, 6);

    const std::string log = AllLogLines();
    const std::vector<std::string> reports = {
        bankPath + ":3: sound '" + (folder / "missing.ogg").string() + "' cannot be played (Mix_LoadWAV_RW with NULL src)",
        bankPath + ":5: sound '" + (folder / "garbage.ogg").string() + "' cannot be played (Unrecognized audio format)",
        bankPath + ":9: sound '" + (folder / "truncated.ogg").string() + "' cannot be played (Unrecognized audio format)",
        bankPath + ":10: event 'event:/Broken/Twice' is defined already",
        bankPath + ":13: sound '" + (folder / "missing.wav").string() + "' cannot be played (Mix_LoadWAV_RW with NULL src)",
    };
    std::size_t from = 0;
    for (const auto& report : reports) {
        const std::size_t at = log.find(report, from);
        ASSERT_NE(at, std::string::npos) << report << "\nafter position " << from << " of " << log.size() << "\n" << log;
        from = at + report.size();
    }
}

TEST(StudioSystem, UnloadAllWhilePlayingLeavesNothingBehind)
{
    Studio studio;
    StudioBank* bank = studio.OpenWithToneBank(8);
    ASSERT_NE(bank, nullptr);
    StudioEventInstance* tone = studio.Make("event:/Tones/Muffled");
    ASSERT_NE(tone, nullptr);
    ASSERT_EQ(tone->SetParameterByName("Muffle", 1.0f), StudioOk);
    ASSERT_EQ(tone->Start(), StudioOk);
    const int channel = tone->Channel();
    ASSERT_TRUE(studio.meter.Await(50ms));

    EXPECT_EQ(studio.system->UnloadAll(), StudioOk);
    EXPECT_EQ(Mix_Playing(channel), 0);
    ASSERT_TRUE(studio.meter.Await(50ms));  // the mixer must not touch the freed instance
    StudioEventDescription* description = nullptr;
    EXPECT_EQ(studio.system->GetEvent("event:/Tones/Muffled", &description), StudioErrorEventNotFound);
    // The bank can be loaded afresh.
    ASSERT_EQ(studio.system->LoadBankFile(WriteToneBank(), &bank), StudioOk);
    EXPECT_NE(studio.Make("event:/Tones/Muffled"), nullptr);
}

TEST(StudioSystem, WithoutAnAudioDeviceItRunsSilentButKeepsState)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Studio studio;
    EXPECT_EQ(studio.system->Initialize(8), StudioErrorOutput);
    EXPECT_FALSE(studio.system->AudioOpen());
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile(WriteToneBank(), &bank), StudioOk);
    EXPECT_EQ(bank->EventPaths().size(), 3u);

    StudioEventInstance* loop = studio.Make("event:/Tones/Loop");
    StudioEventInstance* blip = studio.Make("event:/Tones/Blip");
    ASSERT_NE(loop, nullptr);
    ASSERT_NE(blip, nullptr);
    EXPECT_EQ(loop->Description().Chunk(), nullptr);
    EXPECT_EQ(loop->Start(), StudioOk);
    EXPECT_EQ(blip->Start(), StudioOk);
    EXPECT_EQ(loop->SetParameterByName("Paused", 100.0f), StudioOk);
    EXPECT_FLOAT_EQ(loop->EffectiveVolume(), 0.125f);
    EXPECT_EQ(studio.system->Update(), StudioOk);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Playing);
    EXPECT_EQ(blip->PlaybackState(), StudioPlaybackState::Stopped);
    EXPECT_EQ(loop->Stop(StudioStopMode::AllowFadeOut), StudioOk);
    EXPECT_EQ(loop->PlaybackState(), StudioPlaybackState::Stopped);

    // A missing sound is still reported, though nothing is decoded.
    const auto folder = TestSupport::TemporaryHome() / "bank";
    TestSupport::WriteFile(folder / "Missing.bank", "soundbank 1\nevent event:/More/Missing\nsound missing.ogg\n");
    ASSERT_EQ(studio.system->LoadBankFile((folder / "Missing.bank").string(), &bank), StudioOk);
    EXPECT_TRUE(bank->EventPaths().empty());
    EXPECT_NE(AllLogLines().find("Missing.bank:3: sound '"), std::string::npos) << AllLogLines();
    EXPECT_EQ(studio.system->Release(), StudioOk);
}

TEST(StudioSystem, ASoundThatFailsInTheBackgroundIsLoadedOrReportedWhenFirstPlayed)
{
    // Each file passes the quick look at load time (a WAV header; an Ogg whose headers open, at
    // the output's rate) and is found faulty only while being decoded.
    Studio studio;
    ASSERT_NE(studio.OpenWithToneBank(8), nullptr);
    const auto folder = TestSupport::TemporaryHome() / "late";
    std::minstd_rand random(7);
    std::string garbage(4000, '\0');
    for (char& byte : garbage)
        byte = static_cast<char>(random());
    const std::vector<std::string> jump = OggPages(TestSupport::ReadFile("Resources/Audio/Sounds/Player_Jump.ogg"));
    const std::vector<std::string> intro =
        OggPages(TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg"));
    ASSERT_GE(jump.size(), 3u);
    ASSERT_GE(intro.size(), 8u);
    // libvorbisfile passes over what it cannot read and reports a clean end: no samples at all.
    TestSupport::WriteFile(folder / "no audio.ogg", jump[0] + jump[1] + garbage);
    // A missing page is a hole: the decoder gives up, SDL_mixer keeps the samples before it.
    TestSupport::WriteFile(folder / "hole.ogg", intro[0] + intro[1] + intro[2] + intro[3] + intro[5] + intro[6]);
    // A WAV header, then no "fmt " chunk before the samples.
    TestSupport::WriteFile(folder / "no format.wav", "RIFF\x24\0\0\0WAVEJUNK\x08\0\0\0"s + std::string(8, '\0') +
                                                        "data\x08\0\0\0"s + std::string(8, '\0'));
    TestSupport::WriteFile(folder / "Late.bank",
                           "soundbank 1\n"
                           "event event:/Late/NoAudio\n"
                           "sound no audio.ogg\n"          // 3
                           "loop yes\n"
                           "event event:/Late/Hole\n"
                           "sound hole.ogg\n"
                           "event event:/Late/NoFormat\n"
                           "sound no format.wav\n");       // 8
    const std::string bankPath = (folder / "Late.bank").string();
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile(bankPath, &bank), StudioOk);
    ASSERT_NE(bank, nullptr);
    EXPECT_EQ(bank->EventPaths(), (std::vector<std::string>{"event:/Late/NoAudio", "event:/Late/Hole",
                                                            "event:/Late/NoFormat"}));
    EXPECT_EQ(LogLinesWith(bankPath), 0) << AllLogLines();

    struct Case {
        const char* event;
        std::string report;  // empty: it plays
        StudioPlaybackState afterAFrame;
    };
    const std::vector<Case> cases = {
        {"event:/Late/NoAudio",
         bankPath + ":3: sound '" + (folder / "no audio.ogg").string() +
             "' cannot be played (no sound in it could be decoded); event 'event:/Late/NoAudio' stays silent",
         StudioPlaybackState::Playing},  // a silent loop plays on until stopped
        {"event:/Late/Hole", "", StudioPlaybackState::Playing},
        {"event:/Late/NoFormat",
         bankPath + ":8: sound '" + (folder / "no format.wav").string() +
             "' cannot be played (Missing fmt chunk in WAVE file); event 'event:/Late/NoFormat' stays silent",
         StudioPlaybackState::Stopped},  // a silent one-shot is played out by the next frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        StudioEventInstance* instance = studio.Make(c.event);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(instance->SetParameterByName("Nothing", 1.0f), StudioErrorParameterNotFound);
        EXPECT_EQ(LogLinesWith(c.event), 0) << "nothing is decided before the first use";
        EXPECT_EQ(instance->Start(), StudioOk);
        EXPECT_EQ(instance->Start(), StudioOk);
        EXPECT_EQ(instance->PlaybackState(), StudioPlaybackState::Playing);
        studio.system->Update();
        EXPECT_EQ(instance->PlaybackState(), c.afterAFrame);
        const Mix_Chunk* chunk = instance->Description().Chunk();
        if (c.report.empty()) {
            EXPECT_EQ(LogLinesWith(c.event), 0) << AllLogLines();
            Mix_Chunk* expected = Mix_LoadWAV((folder / "hole.ogg").string().c_str());
            ASSERT_NE(expected, nullptr);
            ASSERT_NE(chunk, nullptr);
            ASSERT_EQ(chunk->alen, expected->alen);
            EXPECT_EQ(std::memcmp(chunk->abuf, expected->abuf, expected->alen), 0);
            Mix_FreeChunk(expected);
        } else {
            EXPECT_EQ(chunk, nullptr);
            EXPECT_EQ(LogLinesWith(c.report), 1) << AllLogLines();
            EXPECT_EQ(LogLinesWith(c.event), 1) << "one report for the event\n" << AllLogLines();
            EXPECT_EQ(instance->Stop(StudioStopMode::AllowFadeOut), StudioOk);
            EXPECT_EQ(instance->PlaybackState(), StudioPlaybackState::Stopped);
        }
    }
}

TEST(StudioSystem, UnloadingOrReleasingWhileSoundsAreStillDecodingLeavesNothingBehind)
{
    constexpr const char* Banks[] = {"Resources/Audio/Master Bank.bank", "Resources/Audio/Music.bank",
                                     "Resources/Audio/Sound Effects.bank"};
    enum class End { UnloadAll, Release, Destroy };
    for (const End end : {End::UnloadAll, End::Release, End::Destroy}) {
        SCOPED_TRACE(static_cast<int>(end));
        Studio studio;
        ASSERT_EQ(studio.system->Initialize(64), StudioOk);
        for (int round = 0; round < 2; ++round) {
            for (const char* path : Banks) {
                StudioBank* bank = nullptr;
                ASSERT_EQ(studio.system->LoadBankFile(path, &bank), StudioOk);
            }
            // One sound taken and playing, the others decoded, in progress or still queued.
            StudioEventInstance* jump = studio.Make("event:/Sound Effects/Player/Player_Jump");
            ASSERT_NE(jump, nullptr);
            EXPECT_EQ(jump->Start(), StudioOk);
            EXPECT_NE(jump->Description().Chunk(), nullptr);
            if (end != End::UnloadAll)
                break;
            EXPECT_EQ(studio.system->UnloadAll(), StudioOk);
            StudioEventDescription* description = nullptr;
            EXPECT_EQ(studio.system->GetEvent("event:/Music/Menus/Menu_Music", &description), StudioErrorEventNotFound);
        }
        if (end == End::Release) {
            EXPECT_EQ(studio.system->Release(), StudioOk);
        }
        studio.system.reset();
        EXPECT_EQ(AllLogLines().find("[error]"), std::string::npos) << AllLogLines();
    }
}

TEST(StudioSystem, LongMusicStreamsThroughItsChannelWithItsVolumeParametersAndFade)
{
    Studio studio;
    ASSERT_EQ(studio.system->Initialize(16), StudioOk);
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile("Resources/Audio/Music.bank", &bank), StudioOk);
    studio.meter.Install();
    StudioEventDescription* stinger = nullptr;
    ASSERT_EQ(studio.system->GetEvent("event:/Music/Levels/Level 4/Level4_WinStinger", &stinger), StudioOk);
    EXPECT_FALSE(stinger->Streams());
    StudioEventInstance* music = studio.Make("event:/Music/Levels/Level 4/Level4_LevelMusic");
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->Description().Streams());
    EXPECT_EQ(music->Description().Chunk(), nullptr) << "never decoded whole";
    const int volume = static_cast<int>(std::lround(0.7f * MIX_MAX_VOLUME));
    const int pausedVolume = static_cast<int>(std::lround(0.7f * 0.35f * MIX_MAX_VOLUME));

    ASSERT_EQ(music->Start(), StudioOk);
    EXPECT_EQ(music->PlaybackState(), StudioPlaybackState::Playing);
    EXPECT_EQ(Mix_Playing(music->Channel()), 1);
    EXPECT_EQ(Mix_Volume(music->Channel(), -1), volume);
    ASSERT_TRUE(studio.meter.Await(50ms));
    const double playing = studio.meter.RmsOver(400ms);
    ASSERT_GT(playing, 200.0) << "the stream should be heard";

    // "Paused" as the game sets it while the world is frozen: quieter and muffled, then back.
    // Each window is measured from a restart, so that both hear the same stretch of the music.
    EXPECT_EQ(music->SetParameterByName("Paused", 100.0f), StudioOk);
    EXPECT_EQ(Mix_Volume(music->Channel(), -1), pausedVolume);
    EXPECT_FLOAT_EQ(music->MuffleAmount(), 1.0f);
    EXPECT_EQ(music->Start(), StudioOk);
    EXPECT_EQ(music->StartCount(), 2);
    EXPECT_EQ(Mix_Volume(music->Channel(), -1), pausedVolume) << "the value outlives a restart";
    ASSERT_TRUE(studio.meter.Await(50ms));
    const double paused = studio.meter.RmsOver(400ms);
    EXPECT_LT(paused, playing * 0.4);
    EXPECT_GT(paused, 0.0);
    EXPECT_EQ(music->SetParameterByName("Paused", 0.0f), StudioOk);
    EXPECT_EQ(Mix_Volume(music->Channel(), -1), volume);

    // Stop fades out, then the channel is free and quiet.
    EXPECT_EQ(music->Stop(StudioStopMode::AllowFadeOut), StudioOk);
    EXPECT_EQ(music->PlaybackState(), StudioPlaybackState::Stopping);
    EXPECT_TRUE(studio.WaitUntilStopped(*music, 3000ms));
    EXPECT_EQ(Mix_Playing(music->Channel()), 0);
    EXPECT_EQ(studio.meter.RmsOver(100ms), 0.0);

    EXPECT_EQ(music->Start(), StudioOk);
    EXPECT_EQ(Mix_Volume(music->Channel(), -1), volume);
    ASSERT_TRUE(studio.meter.Await(50ms));
    EXPECT_GT(studio.meter.RmsOver(200ms), 200.0);
    EXPECT_EQ(music->Stop(StudioStopMode::Immediate), StudioOk);
    EXPECT_EQ(Mix_Playing(music->Channel()), 0);

    // Unloading while it streams: the mixer must not touch the freed stream.
    EXPECT_EQ(music->Start(), StudioOk);
    const int channel = music->Channel();
    ASSERT_TRUE(studio.meter.Await(50ms));
    EXPECT_EQ(studio.system->UnloadAll(), StudioOk);
    EXPECT_EQ(Mix_Playing(channel), 0);
    ASSERT_TRUE(studio.meter.Await(50ms));
    EXPECT_EQ(AllLogLines().find("[error]"), std::string::npos) << AllLogLines();
}

TEST(StudioSystem, AStreamedSoundEndsLoopsOrStaysSilentWithItsReportAtFirstPlay)
{
    // Each file claims a long sound (its last page is the shipped intro's), so each is streamed.
    Studio studio;
    ASSERT_NE(studio.OpenWithToneBank(8), nullptr);
    const auto folder = TestSupport::TemporaryHome() / "streamed";
    const std::vector<std::string> intro =
        OggPages(TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg"));
    ASSERT_GE(intro.size(), 12u);
    std::string noAudio = intro[0] + intro[1];
    for (std::size_t i = 2; i < intro.size(); ++i)
        noAudio += WithPacketsMarkedAsHeaders(intro[i]);
    // About a second of sound, then a missing page: the sound ends there.
    TestSupport::WriteFile(folder / "short.ogg", intro[0] + intro[1] + intro[2] + intro[3] + intro[5] + intro.back());
    TestSupport::WriteFile(folder / "no audio.ogg", noAudio);
    TestSupport::WriteFile(folder / "vanishing.ogg", TestSupport::ReadFile("Resources/Audio/Sounds/Menu_Music_Intro.ogg"));
    TestSupport::WriteFile(folder / "Streamed.bank",
                           "soundbank 1\n"
                           "event event:/Streamed/Once\n"
                           "sound short.ogg\n"
                           "event event:/Streamed/Round\n"
                           "sound short.ogg\n"
                           "loop yes\n"
                           "event event:/Streamed/NoAudio\n"
                           "sound no audio.ogg\n"           // 8
                           "loop yes\n"
                           "event event:/Streamed/Vanished\n"
                           "sound vanishing.ogg\n");        // 11
    const std::string bankPath = (folder / "Streamed.bank").string();
    StudioBank* bank = nullptr;
    ASSERT_EQ(studio.system->LoadBankFile(bankPath, &bank), StudioOk);
    ASSERT_EQ(bank->EventPaths().size(), 4u) << AllLogLines();
    std::filesystem::remove(folder / "vanishing.ogg");
    EXPECT_EQ(LogLinesWith(bankPath), 0) << AllLogLines();

    StudioEventInstance* once = studio.Make("event:/Streamed/Once");
    StudioEventInstance* round = studio.Make("event:/Streamed/Round");
    ASSERT_NE(once, nullptr);
    ASSERT_NE(round, nullptr);
    EXPECT_TRUE(once->Description().Streams());
    EXPECT_EQ(once->Start(), StudioOk);
    EXPECT_EQ(round->Start(), StudioOk);
    ASSERT_TRUE(studio.meter.Await(50ms));
    EXPECT_GT(studio.meter.RmsOver(300ms), 100.0);
    // The one-shot plays out by itself, the loop goes on round.
    EXPECT_TRUE(studio.WaitUntilStopped(*once, 5000ms));
    EXPECT_EQ(Mix_Playing(once->Channel()), 0);
    EXPECT_EQ(round->PlaybackState(), StudioPlaybackState::Playing);
    ASSERT_TRUE(studio.meter.Await(50ms));
    EXPECT_GT(studio.meter.RmsOver(1500ms), 100.0);
    EXPECT_EQ(round->Stop(StudioStopMode::Immediate), StudioOk);
    EXPECT_EQ(LogLinesWith("event:/Streamed/"), 0) << AllLogLines();

    struct Case {
        const char* event;
        std::string report;
        StudioPlaybackState afterAFrame;
    };
    const std::vector<Case> cases = {
        {"event:/Streamed/NoAudio",
         bankPath + ":8: sound '" + (folder / "no audio.ogg").string() +
             "' cannot be played (no sound in it could be decoded); event 'event:/Streamed/NoAudio' stays silent",
         StudioPlaybackState::Playing},  // a silent loop plays on until stopped
        {"event:/Streamed/Vanished",
         bankPath + ":11: sound '" + (folder / "vanishing.ogg").string() +
             "' cannot be played (the file cannot be opened); event 'event:/Streamed/Vanished' stays silent",
         StudioPlaybackState::Stopped},  // a silent one-shot is played out by the next frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        StudioEventInstance* instance = studio.Make(c.event);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(instance->SetParameterByName("Nothing", 1.0f), StudioErrorParameterNotFound);
        EXPECT_EQ(LogLinesWith(c.event), 0) << "nothing is decided before the first use";
        EXPECT_TRUE(instance->Description().Streams());
        EXPECT_EQ(instance->Start(), StudioOk);
        EXPECT_EQ(instance->Start(), StudioOk);
        EXPECT_EQ(instance->PlaybackState(), StudioPlaybackState::Playing);
        EXPECT_EQ(Mix_Playing(instance->Channel()), 0);
        studio.system->Update();
        EXPECT_EQ(instance->PlaybackState(), c.afterAFrame);
        EXPECT_EQ(LogLinesWith(c.report), 1) << AllLogLines();
        EXPECT_EQ(LogLinesWith(c.event), 1) << "one report for the event\n" << AllLogLines();
        EXPECT_EQ(studio.meter.RmsOver(100ms), 0.0);
        EXPECT_EQ(instance->Stop(StudioStopMode::AllowFadeOut), StudioOk);
        EXPECT_EQ(instance->PlaybackState(), StudioPlaybackState::Stopped);
    }
}

}  // namespace

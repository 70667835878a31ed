// The studio layer with SDL's dummy audio driver (the test main sets it): banks, events,
// instances and their state, the "Paused"-style parameter effect, and running with no device.
#include <gtest/gtest.h>

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
#include <filesystem>
#include <condition_variable>
#include <mutex>
#include <string>

namespace {

using namespace Platform;
using namespace std::chrono_literals;

std::string AllLogLines()
{
    std::string text;
    for (const auto& line : Engine::Editor::Instance().logLines)
        text += line;
    return text;
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

}  // namespace

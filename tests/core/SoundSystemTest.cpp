// The sound service over the shipped banks in Resources/Audio (tests run from the repository
// root) with SDL's dummy audio driver: loading, the one-music rule, muting, restarts, unknown
// names, its log lines, and running on without any audio device.
#include <gtest/gtest.h>

#include "core/Log.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "editor/Editor.h"
#include "platform/StudioEventDescription.h"
#include "platform/StudioEventInstance.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Engine::SoundSystem;
using Platform::StudioPlaybackState;

std::string AllLogLines()
{
    std::string text;
    for (const auto& line : Engine::Editor::Instance().logLines)
        text += line;
    return text;
}

bool Logged(const std::string& text) { return AllLogLines().find(text) != std::string::npos; }

StudioPlaybackState StateOf(const SoundSystem& sound, const std::string& name)
{
    const auto* instance = sound.FindInstance(name);
    EXPECT_NE(instance, nullptr) << name;
    return instance == nullptr ? StudioPlaybackState::Stopped : instance->PlaybackState();
}

int StartsOf(const SoundSystem& sound, const std::string& name)
{
    const auto* instance = sound.FindInstance(name);
    return instance == nullptr ? -1 : instance->StartCount();
}

const std::vector<std::string> ShortNames = {
    "Level1_LevelMusic", "Level3_LevelMusic", "Level4_LevelMusic", "Level5_LevelMusic", "Menu_Music",
    "Menu_Music_Intro", "Player_Jump", "Player_AirDash", "Player_Water_Kick", "Player_Water_Slide",
    "Player_Earth_Punch", "Player_FireBurst", "Player_Die", "Button_GoForward", "Button_GoBack",
    "Button_Rollover", "AirEnemy_Die", "AirEnemy_Shoot", "Checkpoint", "Level1_WinStinger",
    "Level3_WinStinger", "Level4_WinStinger", "Level5_WinStinger",
};

TEST(SoundSystem, RegistryLoadsEveryShippedEventWithoutErrors)
{
    InitializeLogging();
    SoundSystem& sound = *Engine::GetSystem<SoundSystem>();
    ASSERT_EQ(sound.events.size(), ShortNames.size());
    for (std::size_t i = 0; i < ShortNames.size(); ++i) {
        EXPECT_EQ(sound.events[i].second, ShortNames[i]);
        EXPECT_TRUE(sound.events[i].first.ends_with("/" + ShortNames[i])) << sound.events[i].first;
        const auto* instance = sound.FindInstance(ShortNames[i]);
        ASSERT_NE(instance, nullptr) << ShortNames[i];
        EXPECT_TRUE(instance->Description().Playable()) << ShortNames[i] << " has no sound";
    }
    EXPECT_EQ(sound.currentMusic, "Empty");
    EXPECT_FALSE(sound.musicMuted);
    EXPECT_FALSE(Logged("FMOD_ERROR loading bank"));
    EXPECT_FALSE(Logged("Failed to load event"));
    EXPECT_FALSE(Logged("FMOD Studio")) << AllLogLines();
}

TEST(SoundSystem, ShippedEventsLoopAndHavePausedWhereTheGameNeedsIt)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    for (const auto& name : ShortNames) {
        const auto& definition = sound.FindInstance(name)->Description().Definition();
        const bool levelMusic = name.ends_with("_LevelMusic");
        const bool loops = name.ends_with("Music") || name == "Menu_Music_Intro";
        EXPECT_EQ(definition.loops, loops) << name;
        float paused = -1.0f;
        EXPECT_EQ(sound.FindInstance(name)->GetParameterByName("Paused", &paused) == Platform::StudioOk, levelMusic)
            << name;
        if (levelMusic) {
            EXPECT_EQ(paused, 0.0f);
        }
    }
}

TEST(SoundSystem, LevelMusicReplacesMenuMusic)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    sound.PlayEvent("Menu_Music");
    EXPECT_EQ(sound.currentMusic, "Menu_Music");
    EXPECT_EQ(StateOf(sound, "Menu_Music"), StudioPlaybackState::Playing);

    sound.PlayEvent("Level1_LevelMusic");
    EXPECT_EQ(sound.currentMusic, "Level1_LevelMusic");
    EXPECT_EQ(StateOf(sound, "Menu_Music"), StudioPlaybackState::Stopping);
    EXPECT_EQ(StateOf(sound, "Level1_LevelMusic"), StudioPlaybackState::Playing);

    // The intro is no music by name; once recorded as current music, the next music stops it.
    sound.PlayEvent("Menu_Music_Intro");
    EXPECT_EQ(sound.currentMusic, "Level1_LevelMusic");
    sound.currentMusic = "Menu_Music_Intro";
    sound.PlayEvent("Menu_Music");
    EXPECT_EQ(StateOf(sound, "Menu_Music_Intro"), StudioPlaybackState::Stopping);
    EXPECT_EQ(StateOf(sound, "Level1_LevelMusic"), StudioPlaybackState::Playing);

    // Playing the current music again restarts it.
    sound.PlayEvent("Menu_Music");
    EXPECT_EQ(StartsOf(sound, "Menu_Music"), 3);
    EXPECT_EQ(StateOf(sound, "Menu_Music"), StudioPlaybackState::Playing);
}

TEST(SoundSystem, MutedMusicIsRecordedButNotStartedWhileEffectsPlay)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    sound.PlayEvent("Menu_Music");
    sound.musicMuted = true;

    sound.PlayEvent("Level3_LevelMusic");
    EXPECT_EQ(sound.currentMusic, "Level3_LevelMusic");
    EXPECT_EQ(StateOf(sound, "Menu_Music"), StudioPlaybackState::Stopping);
    EXPECT_EQ(StateOf(sound, "Level3_LevelMusic"), StudioPlaybackState::Stopped);
    EXPECT_EQ(StartsOf(sound, "Level3_LevelMusic"), 0);

    sound.PlayEvent("Player_Jump");
    sound.PlayEvent("Level3_WinStinger");
    EXPECT_EQ(StateOf(sound, "Player_Jump"), StudioPlaybackState::Playing);
    EXPECT_EQ(StateOf(sound, "Level3_WinStinger"), StudioPlaybackState::Playing);

    // Unmuted, the recorded music is what plays again.
    sound.musicMuted = false;
    sound.PlayEvent(sound.currentMusic);
    EXPECT_EQ(StateOf(sound, "Level3_LevelMusic"), StudioPlaybackState::Playing);
}

TEST(SoundSystem, PlayingAnEffectTwiceRestartsItsOneInstance)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    const auto* jump = sound.FindInstance("Player_Jump");
    ASSERT_NE(jump, nullptr);
    sound.PlayEvent("Player_Jump");
    sound.PlayEvent("Player_Jump");
    EXPECT_EQ(sound.FindInstance("Player_Jump"), jump);
    EXPECT_EQ(jump->StartCount(), 2);
    EXPECT_EQ(jump->PlaybackState(), StudioPlaybackState::Playing);
    EXPECT_EQ(sound.currentMusic, "Empty");

    sound.StopEvent("Player_Jump");
    EXPECT_EQ(jump->PlaybackState(), StudioPlaybackState::Stopping);
}

TEST(SoundSystem, UnknownNamesOnlyTouchTheMusicBookkeeping)
{
    struct Case {
        const char* name;
        const char* currentMusicAfter;
        bool menuMusicStopped;
    };
    const std::vector<Case> cases = {
        {"Nothing", "Menu_Music", false},
        {"", "Menu_Music", false},
        {"player_jump", "Menu_Music", false},   // names are case-sensitive
        {"Menu_music", "Menu_Music", false},
        {"usic", "Menu_Music", false},          // too short to end in "Music"
        {"NoSuchMusic", "NoSuchMusic", true},
        {"Music", "Music", true},
        {"Music/Menus/Menu_Music", "Music/Menus/Menu_Music", true},  // a path is no short name
    };
    for (const auto& c : cases) {
        InitializeLogging();
        SoundSystem sound;
        sound.Init();
        sound.PlayEvent("Menu_Music");
        sound.PlayEvent(c.name);
        sound.StopEvent(c.name);
        sound.SetEventParameter(c.name, "Paused", 100.0f);
        EXPECT_EQ(sound.currentMusic, c.currentMusicAfter) << c.name;
        EXPECT_EQ(StateOf(sound, "Menu_Music"),
                  c.menuMusicStopped ? StudioPlaybackState::Stopping : StudioPlaybackState::Playing)
            << c.name;
        EXPECT_EQ(sound.events.size(), ShortNames.size());
        int started = 0;
        for (const auto& name : ShortNames)
            started += StartsOf(sound, name);
        EXPECT_EQ(started, 1) << c.name;
        sound.Shutdown();
    }
}

TEST(SoundSystem, PausedQuietensTheLevelMusicAndUnknownParametersDoNothing)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    sound.PlayEvent("Level4_LevelMusic");
    const auto* music = sound.FindInstance("Level4_LevelMusic");
    const float fullVolume = music->EffectiveVolume();

    sound.SetEventParameter("Level4_LevelMusic", "Paused", 100.0f);
    float paused = -1.0f;
    ASSERT_EQ(music->GetParameterByName("Paused", &paused), Platform::StudioOk);
    EXPECT_EQ(paused, 100.0f);
    EXPECT_EQ(music->PlaybackState(), StudioPlaybackState::Playing);
    EXPECT_LT(music->EffectiveVolume(), fullVolume * 0.5f);
    EXPECT_EQ(music->MuffleAmount(), 1.0f);

    sound.SetEventParameter("Level4_LevelMusic", "Paused", 0.0f);
    EXPECT_EQ(music->EffectiveVolume(), fullVolume);
    EXPECT_EQ(music->MuffleAmount(), 0.0f);

    sound.SetEventParameter("Player_Jump", "Paused", 100.0f);
    sound.SetEventParameter("Level4_LevelMusic", "Volume", 100.0f);
    EXPECT_EQ(music->EffectiveVolume(), fullVolume);
}

TEST(SoundSystem, MissingOrRepeatedBanksAndEventsAreLoggedAndSurvived)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();

    EXPECT_FALSE(sound.LoadBank("Resources/Audio/No Such Bank.bank"));
    EXPECT_TRUE(Logged("[error] FMOD_ERROR loading bank"));
    EXPECT_FALSE(sound.LoadBank("Resources/Audio/Music.bank"));
    EXPECT_TRUE(Logged("[warning] Bank was already loaded!"));

    EXPECT_FALSE(sound.LoadEvent({"event:/Music/Menus/No_Such_Music", "No_Such_Music"}));
    EXPECT_TRUE(Logged("[error] Failed to load event event:/Music/Menus/No_Such_Music"));
    EXPECT_FALSE(sound.LoadEvent({"event:/Sound Effects/Player/Player_Jump", "Player_Jump"}));
    EXPECT_TRUE(Logged("[warning] Event was already loaded!"));
    EXPECT_EQ(sound.events.size(), ShortNames.size());

    sound.PlayEvent("No_Such_Music");
    EXPECT_EQ(sound.currentMusic, "No_Such_Music");
    sound.Update();
    EXPECT_FALSE(Logged("Error in FMOD Studio!"));
}

TEST(SoundSystem, MalformedBankEntryIsReportedAndTheOthersLoad)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    const std::string bank = "tests/core/fixtures/sound/Broken.bank";
    EXPECT_TRUE(sound.LoadBank(bank));
    EXPECT_TRUE(Logged("[error] " + bank + ":9: 'volume' must be a number from 0 to 1, not 'very loud'"))
        << AllLogLines();

    EXPECT_TRUE(sound.LoadEvent({"event:/Fixture/Good_One", "Good_One"}));
    EXPECT_FALSE(sound.LoadEvent({"event:/Fixture/Broken", "Broken"}));
    EXPECT_TRUE(Logged("Failed to load event event:/Fixture/Broken"));
    EXPECT_TRUE(sound.LoadEvent({"event:/Fixture/Good_Two", "Good_Two"}));
    sound.PlayEvent("Good_Two");
    EXPECT_EQ(StateOf(sound, "Good_Two"), StudioPlaybackState::Playing);
    EXPECT_EQ(sound.FindInstance("Broken"), nullptr);
}

TEST(SoundSystem, RunsOnInSilenceWithoutAnyAudioDevice)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    EXPECT_TRUE(Logged("[error] Error creating FMOD Studio! No sound available! : " +
                       std::to_string(Platform::StudioErrorOutput)))
        << AllLogLines();
    EXPECT_FALSE(Logged("FMOD_ERROR loading bank"));
    EXPECT_FALSE(Logged("Failed to load event"));
    EXPECT_EQ(sound.events.size(), ShortNames.size());

    sound.PlayEvent("Menu_Music");
    sound.PlayEvent("Level5_LevelMusic");
    sound.PlayEvent("Player_Die");
    sound.SetEventParameter("Level5_LevelMusic", "Paused", 100.0f);
    for (int frame = 0; frame < 3; ++frame)
        sound.Update();
    EXPECT_EQ(sound.currentMusic, "Level5_LevelMusic");
    EXPECT_EQ(StateOf(sound, "Level5_LevelMusic"), StudioPlaybackState::Playing);
    EXPECT_EQ(StateOf(sound, "Menu_Music"), StudioPlaybackState::Stopped);
    EXPECT_FALSE(Logged("Error in FMOD Studio!"));
}

TEST(SoundSystem, NothingPlaysAfterShutdown)
{
    InitializeLogging();
    SoundSystem sound;
    sound.Init();
    sound.PlayEvent("Menu_Music");
    sound.Shutdown();
    EXPECT_EQ(sound.FindInstance("Menu_Music"), nullptr);
    sound.PlayEvent("Level1_LevelMusic");
    sound.StopEvent("Menu_Music");
    sound.SetEventParameter("Level1_LevelMusic", "Paused", 100.0f);
    sound.Update();
    sound.Shutdown();
    EXPECT_EQ(sound.currentMusic, "Level1_LevelMusic");
    EXPECT_FALSE(Logged("[error]")) << AllLogLines();
}

}  // namespace

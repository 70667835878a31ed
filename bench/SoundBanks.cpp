// The game's four sound banks through the studio layer on SDL's dummy audio driver: loading
// them, then the start-up's one sound (the menu intro) ready to play, then every sound ready.
// The banks decode in the background, so loading alone is quick and what waits is the taking.
#include "platform/StudioBank.h"
#include "platform/StudioEventDescription.h"
#include "platform/StudioSystem.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Platform;

constexpr const char* BankPaths[] = {
    "Resources/Audio/Master Bank.bank",
    "Resources/Audio/Master Bank.strings.bank",
    "Resources/Audio/Music.bank",
    "Resources/Audio/Sound Effects.bank",
};
constexpr const char* IntroEvent = "event:/Music/Menus/Menu_Music_Intro";

enum class Until { Loaded, IntroReady, EverySoundReady };

void LoadBanks(benchmark::State& state, Until until)
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::filesystem::current_path(VANTREL_SOURCE_DIR);
    std::unique_ptr<StudioSystem> system;
    if (StudioSystem::Create(system) != StudioOk || system->Initialize(512) != StudioOk) {
        state.SkipWithError("no audio output");
        return;
    }
    for (auto _ : state) {
        std::vector<std::string> eventPaths;
        for (const char* path : BankPaths) {
            StudioBank* bank = nullptr;
            if (system->LoadBankFile(path, &bank) == StudioOk)
                eventPaths.insert(eventPaths.end(), bank->EventPaths().begin(), bank->EventPaths().end());
        }
        if (until == Until::IntroReady)
            eventPaths = {IntroEvent};
        if (until != Until::Loaded) {
            for (const std::string& path : eventPaths) {
                StudioEventDescription* description = nullptr;
                if (system->GetEvent(path, &description) == StudioOk)
                    benchmark::DoNotOptimize(description->Chunk());
            }
        }
        state.PauseTiming();
        system->UnloadAll();  // waits for the files in progress, which is no part of loading
        state.ResumeTiming();
    }
    system->Release();
}

}  // namespace

BENCHMARK_CAPTURE(LoadBanks, Loaded, Until::Loaded)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(LoadBanks, IntroReady, Until::IntroReady)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(LoadBanks, EverySoundReady, Until::EverySoundReady)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

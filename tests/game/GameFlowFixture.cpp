#include "GameFlowFixture.h"

#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/InputManager.h"
#include "core/SoundSystem.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/LevelManager.h"
#include "editor/Editor.h"
#include "game/GameState.h"
#include "game/ScreenObjects.h"
#include "platform/StudioEventInstance.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>

namespace GameFlowTest {

void GameFlow::SetUp()
{
    // The level list is read by the game's start-up; its files are relative to the repository root.
    Engine::LevelManager::Instance().levelListPath = LevelList();
    game = std::make_unique<Game>(Engine::FrameClock{[this] { return now; }, [](std::int64_t) {}});
    ImGui::GetIO().IniFilename = nullptr;  // tests run in the repository root: leave imgui.ini alone
    Engine::GetSystem<Engine::TimerDatabase>()->clock = [this] { return now; };
    Engine::GetSystem<Engine::TimerDatabase>()->lastTime = now;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

void GameFlow::TearDown() { game.reset(); }

void GameFlow::Frame(float seconds)
{
    now += static_cast<std::int64_t>(static_cast<double>(seconds) * 1e9);
    FrameDeltaTime = seconds;
    // As in the frame loop, the update runs inside the UI frame that the editor draws into.
    game->graphics.NewUiFrame();
    game->Update();
    game->graphics.RenderUi();
}

void GameFlow::Frames(int count, float seconds)
{
    for (int frame = 0; frame < count; ++frame)
        Frame(seconds);
}

void GameFlow::Tap(std::uint8_t key)
{
    Engine::InputManager::Instance().KeyPressed(key);
    Frame();
    Engine::InputManager::Instance().KeyReleased(key);
}

void GameFlow::ToMainMenu()
{
    Frame(2.5f);
    Frame(1.93f);
    ASSERT_EQ(GameStateIndex, 1);
    Frame();
}

void GameFlow::ToFirstLevel()
{
    ToMainMenu();
    Tap(Enter);  // Start is highlighted first
    ASSERT_EQ(GameStateIndex, 3);
    Frame();
}

void GameFlow::FinishLevel()
{
    game->levelChangeRequested = 1;
    Frame();
    ASSERT_EQ(game->levelCompleteShown, 1);
    Tap(Enter);  // leaves the level-complete screen: the score entry follows at once
    ASSERT_EQ(GameStateIndex, 7);
}

std::string GameFlow::Image(const std::string& object)
{
    const Engine::Sprite* sprite = Engine::ScreenObjects::SpriteOf(object);
    return sprite == nullptr ? std::string() : sprite->Texture;
}

bool GameFlow::Exists(const std::string& object) { return Engine::ScreenObjects::Exists(object); }

std::size_t GameFlow::Count(const std::string& object)
{
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    std::size_t count = 0;
    for (std::uint32_t id = 0; id <= table.highestUsed && id < Engine::MaxGameObjects; ++id) {
        if (const GameObject* record = table.Get(id); record != nullptr && record->name == object)
            ++count;
    }
    return count;
}

std::string GameFlow::CurrentLevel() { return Engine::LevelManager::Instance().currentLevel; }

std::string GameFlow::CurrentMusic() { return Engine::GetSystem<Engine::SoundSystem>()->currentMusic; }

int GameFlow::Starts(const std::string& event)
{
    const Platform::StudioEventInstance* instance = Engine::GetSystem<Engine::SoundSystem>()->FindInstance(event);
    return instance == nullptr ? -1 : instance->StartCount();
}

bool GameFlow::Playing(const std::string& event)
{
    const Platform::StudioEventInstance* instance = Engine::GetSystem<Engine::SoundSystem>()->FindInstance(event);
    return instance != nullptr && instance->PlaybackState() == Platform::StudioPlaybackState::Playing;
}

int GameFlow::CountLogLines(const std::string& text)
{
    const auto& lines = Engine::Editor::Instance().logLines;
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(text) != std::string::npos; }));
}

}  // namespace GameFlowTest

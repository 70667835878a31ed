// Drives the real Game headless through the game flow: the fixture levels of
// tests/game/fixtures stand in for the shipped screens and levels, keys go through the
// input manager, and each frame runs Game::Update with a frame time the test sets.
#pragma once

#include "core/Game.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

namespace GameFlowTest {

// Windows virtual-key codes of the game's keys.
enum Key : std::uint8_t {
    Enter = 0x0D,
    Escape = 0x1B,
    Up = 0x26,
    Down = 0x28,
    F1 = 0x70,
    F2 = 0x71,
    F3 = 0x72,
    F4 = 0x73,
    F6 = 0x75,
    F7 = 0x76,
    F11 = 0x7A,
    BackQuote = 0xC0,
};

class GameFlow : public testing::Test {
protected:
    static constexpr float FrameSeconds = 1.0f / 60.0f;

    // The level list the game starts with.
    virtual const char* LevelList() const { return VANTREL_TEST_DIR "/game/fixtures/LevelNames.json"; }

    void SetUp() override;
    void TearDown() override;

    // One frame of game logic after `seconds`; the timers see the same time pass.
    void Frame(float seconds = FrameSeconds);
    void Frames(int count, float seconds = FrameSeconds);
    // A key pressed before a frame and released after it.
    void Tap(std::uint8_t key);

    // From the splash to the main menu, by its timers.
    void ToMainMenu();
    // Into "Level 1" from the main menu's Start button.
    void ToFirstLevel();
    // Ends the level as its goal script does and takes Enter to the score entry.
    void FinishLevel();

    static std::string Image(const std::string& object);  // "" when missing
    static bool Exists(const std::string& object);
    static std::size_t Count(const std::string& object);
    static std::string CurrentLevel();
    static std::string CurrentMusic();
    // Starts of a sound event so far.
    static int Starts(const std::string& event);
    static bool Playing(const std::string& event);
    // Log lines so far (in the editor's list of the newest lines) that hold the text.
    static int CountLogLines(const std::string& text);

    std::unique_ptr<Game> game;
    std::int64_t now = 1'000'000'000;  // steady-clock ns of the game's clock and the timers
};

}  // namespace GameFlowTest

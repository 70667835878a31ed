// Engine::Scoreboard (a system of the registry): counts the level score down and shows it as
// digit sprites, enters it under "PLAYER" on the score-entry screen, builds the leaderboard
// screen out of letter and digit sprites and keeps the leaderboard in "Scoreboard.txt".
// The game flow drives it through GameStateIndex and sets `score` back to 300 on a restart.
#pragma once

#include "core/System.h"
#include "game/ScoreEntry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine {

class Scoreboard : public System {
public:
    Scoreboard();

    void Init() override;
    void Update() override;
    void Shutdown() override;

    // The game flow's restart of the level being played, after the level is loaded again:
    // the score is 300 again and shown by fresh digits. It is no level start; the countdown
    // carries on.
    void RestartLevel();

    std::vector<ScoreEntry> entries;            // highest score first
    std::vector<std::string> scoreDigitNames;   // ones digit first
    std::vector<std::string> entryDigitNames;   // in creation order; names repeat row by row
    std::vector<std::string> entryLetterNames;  // in creation order; names repeat row by row
    std::vector<std::string> titleLetterNames;
    std::string title = "LEADERBOARD";
    std::string filePath;               // "Scoreboard.txt" in the Documents folder
    std::uint32_t maxEntries = 6;       // also the digits shown per leaderboard score
    std::uint32_t scoreDigitCount = 3;  // "ScoreDigit0" (ones) to "ScoreDigit2"
    std::uint32_t score = 300;
    std::uint32_t scoreStep = 1;  // points lost per full second
    float scoreTimer = 0.0f;      // seconds of play since the last point was lost
    bool leaderboardShown = false;
    bool levelRunning = false;
    bool scoreEntered = false;

private:
    bool fileHoldsUnreadLines = false;  // the file as loaded; it is moved aside before the first save

    void Load();
    void Save();
    void AddEntry(ScoreEntry entry);
    void CreateScoreDigits();
    void PlaceScoreDigits();
    void ShowLeaderboard();
    void RemoveScoreDigits();
    void HideLeaderboard();
    void CountDown();
};

}  // namespace Engine

// Engine::ScoreEntry: one line of the leaderboard, a name and its score. The scoreboard
// keeps a list of them, reads them from and writes them to the leaderboard file.
#pragma once

#include <cstdint>
#include <string>

namespace Engine {

struct ScoreEntry {
    std::string name;
    std::uint32_t score = 0;  // compared unsigned

    bool operator==(const ScoreEntry&) const = default;
};

}  // namespace Engine

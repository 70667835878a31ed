// Engine::ScoreFile: the leaderboard file "Scoreboard.txt", one "NAME SCORE" line per entry.
// The scoreboard reads it at start-up and replaces it whole after each new entry and at exit.
// A hand-edited or damaged file is read as far as it can matter and never stops the game.
#pragma once

#include "game/ScoreEntry.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Engine {

class ScoreFile {
public:
    // A file written by the game holds six short lines; these bounds only cut hand-edited files.
    static constexpr std::size_t MaxLines = 64;
    static constexpr std::size_t MaxLineLength = 128;  // bytes, without the line feed
    static constexpr std::size_t MaxBytes = MaxLines * (MaxLineLength + 1);

    // Appends one entry per readable line, in file order; a missing file appends nothing.
    // True when the file holds lines that gave no entry (unreadable, too long, or past the
    // bounds above), which a save of the entries would lose.
    static bool Read(const std::filesystem::path& path, std::vector<ScoreEntry>& entries);

    // Replaces the file with the entries in list order; an unwritable file is left as it was,
    // with a log line.
    static void Write(const std::filesystem::path& path, const std::vector<ScoreEntry>& entries);

    // Moves the file aside, beside it, under a name no file has yet ("Scoreboard-with-unread-
    // lines.txt", then "-2" and on), so that a save keeps every line a person wrote. Moved, not
    // copied: a huge file costs nothing. False, logged, when it is there and cannot be moved.
    static bool SetAside(const std::filesystem::path& path);
    static std::filesystem::path SetAsidePath(const std::filesystem::path& path, unsigned number);

    static std::string Text(const std::vector<ScoreEntry>& entries);

    // The entry of one line: the name before a blank and the score after it, at the first blank
    // where a score can be read. A score is white space, an optional sign, then decimal digits
    // up to the first other character, from 0 to 2147483647. None when no blank is followed by one.
    static std::optional<ScoreEntry> ReadLine(std::string_view line);
};

}  // namespace Engine

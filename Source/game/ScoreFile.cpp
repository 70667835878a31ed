#include "game/ScoreFile.h"

#include "core/Log.h"
#include "data/SafeFileWriter.h"

#include <charconv>
#include <cstdint>
#include <fstream>

namespace Engine {

namespace {

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }


std::optional<std::uint32_t> ReadScore(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at]))
        ++at;
    // from_chars takes a minus sign but no plus sign.
    if (at < text.size() && text[at] == '+')
        ++at;
    std::int32_t value = 0;
    const char* first = text.data() + at;
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (error != std::errc() || end == first || value < 0)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<ScoreEntry> ScoreFile::ReadLine(std::string_view line)
{
    // One entry per line at most: a name may hold blanks ("ANN MARIE 120"), and taking every
    // readable split would turn "X 5 7" into two entries, one more at every load and save.
    for (std::size_t blank = line.find(' '); blank != std::string_view::npos; blank = line.find(' ', blank + 1)) {
        if (const std::optional<std::uint32_t> score = ReadScore(line.substr(blank + 1)))
            return ScoreEntry{std::string(line.substr(0, blank)), *score};
    }
    return std::nullopt;
}

bool ScoreFile::Read(const std::filesystem::path& path, std::vector<ScoreEntry>& entries)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;

    // Nothing past the first MaxBytes can be one of the first MaxLines lines of a readable length.
    std::string text(MaxBytes, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    const bool cut = in.good() && in.peek() != std::ifstream::traits_type::eof();

    std::size_t start = 0;
    std::size_t lineNumber = 0;
    bool leftOut = false;
    while (start < text.size()) {
        // A line ends at a line feed, a carriage return and line feed, or a carriage return
        // alone (the old Macintosh form, which some editors still write).
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            if (cut)  // the last line read is cut off and its number may be too
                break;
            end = text.size();
        }
        ++lineNumber;
        const std::string_view line(text.data() + start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        if (line.empty())
            continue;
        if (lineNumber > MaxLines) {
            LogWarn("Leaderboard file {}: only its first {} lines are read", path.string(), MaxLines);
            return true;
        }
        if (line.size() > MaxLineLength) {
            LogWarn("Leaderboard file {}: line {} is longer than {} bytes; skipped", path.string(), lineNumber, MaxLineLength);
            leftOut = true;
            continue;
        }
        if (std::optional<ScoreEntry> entry = ReadLine(line)) {
            entries.push_back(std::move(*entry));
        } else {
            LogWarn("Leaderboard file {}: line {} holds no name, blank and score from 0 to 2147483647; skipped",
                    path.string(), lineNumber);
            leftOut = true;
        }
    }
    if (cut)
        LogWarn("Leaderboard file {}: only its first {} bytes are read", path.string(), MaxBytes);
    return leftOut || cut;
}

std::string ScoreFile::Text(const std::vector<ScoreEntry>& entries)
{
    std::string text;
    for (const ScoreEntry& entry : entries) {
        text += entry.name;
        text += ' ';
        text += std::to_string(entry.score);
        text += '\n';
    }
    return text;
}

void ScoreFile::Write(const std::filesystem::path& path, const std::vector<ScoreEntry>& entries)
{
    // A file or folder that cannot be written to keeps the old file; the list in memory stays
    // as it is. A failure part way is logged by the writer itself.
    std::string reason;
    if (SafeFileWriter::Write(path, Text(entries), SafeFileWriter::Rename, &reason) == SafeFileWriter::Result::CannotOpen)
        LogError("Could not save the leaderboard to {}: {}", path.string(), reason);
}

std::filesystem::path ScoreFile::SetAsidePath(const std::filesystem::path& path, unsigned number)
{
    std::string name = path.stem().string() + "-with-unread-lines";
    if (number > 1)
        name += "-" + std::to_string(number);
    return path.parent_path() / (name + path.extension().string());
}

bool ScoreFile::SetAside(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error)))
        return true;  // gone since it was read: nothing of it can be lost
    if (SafeFileWriter::IsReadOnly(SafeFileWriter::FileBehind(path))) {
        // The save will not replace it, so it stays where it is.
        LogError("Could not save the leaderboard to {}: {}", path.string(), SafeFileWriter::ReadOnlyReason);
        return false;
    }
    // An earlier moved-aside file is never replaced; the search is bounded all the same.
    constexpr unsigned MaxTries = 1000;
    for (unsigned number = 1; number <= MaxTries; ++number) {
        const std::filesystem::path aside = SetAsidePath(path, number);
        if (std::filesystem::exists(std::filesystem::symlink_status(aside, error)))
            continue;
        std::filesystem::rename(path, aside, error);
        if (error)
            break;
        LogWarn("Leaderboard file {} held lines the game does not read; moved it to {} before saving", path.string(),
                aside.string());
        return true;
    }
    LogError("Could not move the leaderboard file {} aside ({}); not saving over the lines it holds that the game does not read",
             path.string(), error ? error.message() : "every name for it is taken");
    return false;
}

}  // namespace Engine

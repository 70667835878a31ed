#include "platform/StudioBank.h"

#include "core/Log.h"

#include <charconv>
#include <filesystem>
#include <optional>
#include <set>
#include <string_view>

namespace Platform {

namespace {

constexpr const char* Utf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// Splits off the first word; the rest is trimmed.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text)
{
    const auto end = text.find_first_of(" \t");
    if (end == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, end), Trim(text.substr(end))};
}

std::optional<float> ParseNumber(std::string_view text)
{
    float value = 0.0f;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The entry being read, with whether any of its lines was faulty.
struct PendingEntry {
    StudioEventDefinition definition;
    std::set<std::string, std::less<>> keys;
    bool faulty = false;
};

}  // namespace

int StudioBank::Read(std::istream& text, std::vector<StudioEventDefinition>& definitions) const
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::optional<PendingEntry> entry;
    bool formatSeen = false;
    int lineNumber = 0;

    auto fault = [&](int line, std::string_view message) {
        if (entry) {
            LogError("{}:{}: {}; event '{}' is left out", path, line, message, entry->definition.path);
            entry->faulty = true;
        } else {
            LogError("{}:{}: {}", path, line, message);
        }
    };
    auto finishEntry = [&]() {
        if (!entry)
            return;
        if (!entry->faulty && entry->definition.sound.empty())
            fault(entry->definition.line, "the event has no 'sound' line");
        if (!entry->faulty)
            definitions.push_back(std::move(entry->definition));
        entry.reset();
    };

    std::string raw;
    while (std::getline(text, raw)) {
        ++lineNumber;
        // Editors on Windows often start a UTF-8 file with a byte-order mark.
        if (lineNumber == 1 && raw.starts_with(Utf8ByteOrderMark))
            raw.erase(0, std::string_view(Utf8ByteOrderMark).size());
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == '#')
            continue;
        if (!formatSeen) {
            if (line != FormatLine) {
                LogError("{}:{}: not a sound bank: the first line must be '{}'", path, lineNumber, FormatLine);
                return StudioErrorFileBad;
            }
            formatSeen = true;
            continue;
        }

        const auto [key, value] = SplitWord(line);
        if (key == "event") {
            finishEntry();
            entry.emplace();
            entry->definition.path = std::string(value);
            entry->definition.bank = path;
            entry->definition.line = lineNumber;
            const auto lastSlash = value.rfind('/');
            if (!value.starts_with("event:/") || lastSlash == std::string_view::npos || lastSlash + 1 == value.size())
                fault(lineNumber, fmt::format("'{}' is not an event path like 'event:/Folder/Name'", value));
            continue;
        }
        if (!entry) {
            fault(lineNumber, fmt::format("'{}' stands before the first 'event' line", key));
            continue;
        }
        if (key != "parameter" && !entry->keys.emplace(key).second) {
            fault(lineNumber, fmt::format("'{}' is given twice", key));
            continue;
        }

        StudioEventDefinition& definition = entry->definition;
        if (key == "sound") {
            if (value.empty())
                fault(lineNumber, "'sound' needs a file name");
            definition.sound = folder / std::filesystem::path(std::string(value));
            definition.soundLine = lineNumber;
        } else if (key == "loop") {
            if (value == "yes")
                definition.loops = true;
            else if (value == "no")
                definition.loops = false;
            else
                fault(lineNumber, fmt::format("'loop' must be 'yes' or 'no', not '{}'", value));
        } else if (key == "volume") {
            const auto volume = ParseNumber(value);
            if (!volume || *volume < 0.0f || *volume > 1.0f)
                fault(lineNumber, fmt::format("'volume' must be a number from 0 to 1, not '{}'", value));
            else
                definition.volume = *volume;
        } else if (key == "parameter") {
            // parameter <name> <minimum> <maximum> [quiet <gain>] [muffle <cutoff Hz>]
            const auto [name, afterName] = SplitWord(value);
            const auto [minimumText, afterMinimum] = SplitWord(afterName);
            const auto [maximumText, options] = SplitWord(afterMinimum);
            const auto minimum = ParseNumber(minimumText);
            const auto maximum = ParseNumber(maximumText);
            if (name.empty() || !minimum || !maximum || !(*minimum < *maximum)) {
                fault(lineNumber, "'parameter' needs a name, a minimum and a larger maximum");
                continue;
            }
            StudioParameterDescription parameter{std::string(name), *minimum, *maximum};
            std::string_view rest = options;
            bool optionsFine = true;
            while (!rest.empty() && optionsFine) {
                const auto [option, afterOption] = SplitWord(rest);
                const auto [amountText, afterAmount] = SplitWord(afterOption);
                const auto amount = ParseNumber(amountText);
                if (option == "quiet" && amount && *amount >= 0.0f && *amount <= 1.0f)
                    parameter.quietGain = *amount;
                else if (option == "muffle" && amount && *amount > 0.0f)
                    parameter.muffleCutoffHz = *amount;
                else
                    optionsFine = false;
                rest = afterAmount;
            }
            if (!optionsFine) {
                fault(lineNumber, "parameter options are 'quiet <gain 0 to 1>' and 'muffle <cutoff in Hz>'");
                continue;
            }
            for (const auto& existing : definition.parameters) {
                if (existing.name == parameter.name) {
                    fault(lineNumber, fmt::format("parameter '{}' is given twice", name));
                    optionsFine = false;
                }
            }
            if (optionsFine)
                definition.parameters.push_back(std::move(parameter));
        } else {
            fault(lineNumber, fmt::format("unknown key '{}'", key));
        }
    }
    finishEntry();

    if (!formatSeen) {
        LogError("{}: not a sound bank: the first line must be '{}'", path, FormatLine);
        return StudioErrorFileBad;
    }
    return StudioOk;
}

}  // namespace Platform

#include "data/LevelScanner.h"

#include "data/LevelScanHandler.h"
#include "data/QuickReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <exception>

namespace Engine {

namespace {

using Json = nlohmann::json;
using Record = LevelEntryRecord;

template <typename T, typename Name>
bool SortedWithoutRepeats(std::vector<T>& items, Name&& name)
{
    const auto before = [&](const T& a, const T& b) { return name(a) < name(b); };
    if (!std::is_sorted(items.begin(), items.end(), before))  // as the game writes them, usually
        std::stable_sort(items.begin(), items.end(), before);
    return std::adjacent_find(items.begin(), items.end(), [&](const T& a, const T& b) { return name(a) == name(b); }) ==
           items.end();
}

bool IsStructural(char c)
{
    return c == '{' || c == '}' || c == '[' || c == ']' || c == ',' || c == ':' || c == '"';
}

// The text without the indentation and line breaks between tokens, which the library's lexer
// reads one character at a time. Whitespace is dropped only beside a structural character, so
// no two tokens run together and the text parses exactly as before (only faults report other
// positions, and faults are left to the general reader).
std::string WithoutLayout(const std::string& text)
{
    std::string kept(text.size(), '\0');
    char* out = kept.data();
    const char* const begin = out;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        const char c = *at;
        if (c == '"') {
            // A string is copied as it stands, up to its closing quote.
            const char* close = at + 1;
            while (close < end && *close != '"')
                close += *close == '\\' && close + 1 < end ? 2 : 1;
            close = std::min(close + 1, end);
            out = std::copy(at, close, out);
            at = close;
        } else if (QuickReader<LevelScanHandler>::IsLayout(c)) {
            const char* next = at + 1;
            while (next < end && QuickReader<LevelScanHandler>::IsLayout(*next))
                ++next;
            const bool besideStructure =
                out == begin || next == end || IsStructural(out[-1]) || IsStructural(*next);
            if (!besideStructure)
                *out++ = ' ';
            at = next;
        } else {
            *out++ = c;
            ++at;
        }
    }
    kept.resize(static_cast<std::size_t>(out - begin));
    return kept;
}

}  // namespace

bool LevelScanner::Scan(const std::string& text, std::vector<LevelEntryRecord>& entries)
{
    entries.clear();
    // Both readers below would take a NUL byte as the end of the text; the general reader refuses it.
    if (text.find('\0') != std::string::npos)
        return false;
    bool read = false;
    {
        LevelScanHandler scanner(entries);
        QuickReader<LevelScanHandler> quick(text, scanner);
        read = quick.Read() && scanner.topLevelSeen;
    }
    if (!read) {
        // Not in the forms the quick reader takes, or not plain: the library decides.
        entries.clear();
        LevelScanHandler scanner(entries);
        const std::string compact = WithoutLayout(text);
        try {
            if (!Json::sax_parse(compact.begin(), compact.end(), &scanner) || !scanner.topLevelSeen)
                return false;
        } catch (const std::exception&) {
            return false;  // the general reader reads it again and reports the fault
        }
    }
    // The document keeps one member per key, ordered by key; a repeated key is left to it.
    if (!SortedWithoutRepeats(entries, [](const Record& entry) -> const std::string& { return entry.key; }))
        return false;
    for (Record& entry : entries)
        if (!SortedWithoutRepeats(entry.events, [](const Record::Handlers& event) -> const std::string& { return event.first; }))
            return false;
    return true;
}

}  // namespace Engine

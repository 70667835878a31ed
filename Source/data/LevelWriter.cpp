#include "data/LevelWriter.h"

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* PlayerKey = "APlayer";
constexpr int Indent = 4;

// A name that is not valid UTF-8 must not cost the user the whole save.
std::string Dump(const Json& value) { return value.dump(Indent, ' ', false, Json::error_handler_t::replace); }

// Entry keys, in the entries' order. Two objects of one name must not share an entry, or one
// of them is lost on the next load.
std::vector<std::pair<std::string, std::size_t>> Keys(const std::vector<LevelBaseline::SavedEntry>& entries,
                                                      std::int32_t followedObjectId)
{
    auto followed = [followedObjectId](const LevelBaseline::SavedEntry& saved) {
        return followedObjectId >= 0 && saved.liveId && *saved.liveId == static_cast<std::uint32_t>(followedObjectId);
    };
    const bool playerPresent = std::any_of(entries.begin(), entries.end(), followed);

    std::vector<std::pair<std::string, std::size_t>> keys;
    std::unordered_set<std::string> taken;
    if (playerPresent)
        taken.insert(PlayerKey);
    std::unordered_map<std::string, std::uint32_t> lastCount;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (followed(entries[index])) {
            keys.emplace_back(PlayerKey, index);
            continue;
        }
        const std::string& name = *entries[index].name;
        std::string key = name;
        if (!taken.insert(key).second) {
            std::uint32_t& count = lastCount.try_emplace(name, 1).first->second;
            do
                key = LevelWriter::NumberedKey(name, ++count);
            while (!taken.insert(key).second);
        }
        keys.emplace_back(std::move(key), index);
    }
    return keys;
}

}  // namespace

std::string LevelWriter::NumberedKey(const std::string& name, std::uint32_t count)
{
    return fmt::format("{} #{:05}", name, count);
}

std::string LevelWriter::Text(const std::vector<LevelBaseline::SavedEntry>& entries, std::int32_t followedObjectId)
{
    std::vector<std::pair<std::string, std::size_t>> keys = Keys(entries, followedObjectId);
    if (keys.empty())
        return Json().dump();
    std::sort(keys.begin(), keys.end());

    // Entry by entry, laid out exactly as the library lays out the whole document: a level
    // of thousands of objects never exists as one tree, which keeps saving fast.
    std::string text = "{\n";
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto& [key, index] = keys[i];
        text.append(Indent, ' ');
        text += Dump(Json(key));
        text += ": ";
        const std::string& body = *entries[index].text;
        std::size_t lineStart = 0;
        for (std::size_t end = body.find('\n'); end != std::string::npos; end = body.find('\n', lineStart)) {
            text.append(body, lineStart, end + 1 - lineStart);
            text.append(Indent, ' ');
            lineStart = end + 1;
        }
        text.append(body, lineStart);
        text += i + 1 < keys.size() ? ",\n" : "\n";
    }
    text += '}';
    return text;
}

}  // namespace Engine

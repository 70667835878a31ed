#include "data/LevelBaseline.h"

#include "core/GameObjectTable.h"
#include "data/EntryWriter.h"

namespace Engine {

namespace {

using Json = nlohmann::json;

const Json* Member(const Json& object, const std::string& name)
{
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// What the level holds for one member, given its value now, when play last stopped and in the
// level. Untouched since play stopped: the level's value (none when play added the member).
// Edited: the value now, member by member where all three are objects, so that an edited
// position keeps the level's picture. Members the level has and neither the world nor the
// capture knows (taken away by play, or not read by the game) stay.
std::optional<Json> MergeMember(const Json& live, const Json* stopped, const Json* level)
{
    if (stopped != nullptr && live == *stopped) {
        if (level == nullptr)
            return std::nullopt;
        return *level;
    }
    if (stopped == nullptr || level == nullptr || !live.is_object() || !stopped->is_object() || !level->is_object())
        return live;
    Json merged = Json::object();
    for (const auto& [name, value] : live.items()) {
        if (std::optional<Json> member = MergeMember(value, Member(*stopped, name), Member(*level, name)))
            merged[name] = std::move(*member);
    }
    for (const auto& [name, value] : level->items()) {
        if (!live.contains(name) && !stopped->contains(name))
            merged[name] = value;
    }
    return merged;
}

}  // namespace

void LevelBaseline::Clear() { records.clear(); }

void LevelBaseline::AddFromFile(std::uint32_t id, Json entry) { records[LiveKey(id)] = Record{std::move(entry), std::nullopt}; }

void LevelBaseline::Adopt(std::uint32_t id) { records[LiveKey(id)] = Record{LiveEntry(id), std::nullopt}; }

void LevelBaseline::Drop(std::uint32_t id) { records.erase(LiveKey(id)); }

void LevelBaseline::CaptureWorld()
{
    for (auto& [key, record] : records) {
        if (IsLive(key))
            record.stopped = LiveEntry(key.first);
    }
}

void LevelBaseline::KeepEdits()
{
    for (auto& [key, record] : records) {
        if (!IsLive(key))
            continue;
        Json live = LiveEntry(key.first);
        if (std::optional<Json> merged = Merged(live, record)) {
            record.level = std::move(*merged);
            record.stopped = std::move(live);
        }
    }
}

std::vector<LevelBaseline::SavedEntry> LevelBaseline::EntriesToSave() const
{
    std::vector<SavedEntry> entries(records.size());
    auto saved = entries.begin();
    for (const auto& [key, record] : records) {
        saved->entry = &record.level;
        if (IsLive(key)) {
            saved->liveId = key.first;
            if (std::optional<Json> merged = Merged(LiveEntry(key.first), record)) {
                saved->edited = std::move(*merged);
                saved->entry = &saved->edited;
            }
        }
        ++saved;
    }
    return entries;
}

Json LevelBaseline::LiveEntry(std::uint32_t id)
{
    Json entry;
    const GameObject* object = GameObjectTable::Instance().Get(id);
    entry["Handle"] = object != nullptr ? object->name : std::string();
    EntryWriter::WriteComponents(entry, id, EntryWriter::Checkpoints::Written);
    return entry;
}

std::optional<Json> LevelBaseline::Merged(const Json& live, const Record& record)
{
    if (!record.stopped)
        return live;  // made since play stopped: all of it is new
    if (live == *record.stopped)
        return std::nullopt;  // the usual case, and the cheap one
    return MergeMember(live, &*record.stopped, &record.level);
}

LevelBaseline::Key LevelBaseline::LiveKey(std::uint32_t id) { return {id, GameObjectTable::Instance().Generation(id)}; }

bool LevelBaseline::IsLive(const Key& key)
{
    const GameObjectTable& table = GameObjectTable::Instance();
    return table.Get(key.first) != nullptr && table.Generation(key.first) == key.second;
}

}  // namespace Engine

#include "data/LevelBaseline.h"

#include "core/GameObjectTable.h"
#include "data/EntryWriter.h"

#include <utility>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr int Indent = 4;

ObjectRef RefTo(std::uint32_t id) { return GameObjectTable::Instance().Ref(id); }

Json EntryOf(const EntrySnapshot& object)
{
    Json entry;
    entry["Handle"] = object.name;
    EntryWriter::WriteComponents(entry, object, EntryWriter::Checkpoints::Written);
    return entry;
}

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

std::string LevelBaseline::EntryText(const Json& entry)
{
    // A name that is not valid UTF-8 must not cost the user the whole save.
    return entry.dump(Indent, ' ', false, Json::error_handler_t::replace);
}

void LevelBaseline::Clear() { records.clear(); }

void LevelBaseline::AddFromFile(std::uint32_t id, const Json& entry)
{
    records[RefTo(id)] = Record{entry.at("Handle").get<std::string>(), EntryText(entry), std::nullopt};
}

void LevelBaseline::AddFromFile(std::uint32_t id, std::string name, std::string text)
{
    records[RefTo(id)] = Record{std::move(name), std::move(text), std::nullopt};
}

void LevelBaseline::Adopt(std::uint32_t id)
{
    const EntrySnapshot object = EntrySnapshot::Of(id);
    records[RefTo(id)] = Record{object.name, EntryText(EntryOf(object)), std::nullopt};
}

void LevelBaseline::Drop(std::uint32_t id) { records.erase(RefTo(id)); }

void LevelBaseline::CaptureWorld()
{
    for (auto& [key, record] : records) {
        if (key.IsLive())
            record.stopped = EntrySnapshot::Of(key.slot);
    }
}

void LevelBaseline::KeepEdits()
{
    for (auto& [key, record] : records) {
        if (!key.IsLive())
            continue;
        EntrySnapshot live = EntrySnapshot::Of(key.slot);
        if (std::optional<Json> edited = Edited(live, record)) {
            record.name = edited->at("Handle").get<std::string>();
            record.text = EntryText(*edited);
            record.stopped = std::move(live);
        }
    }
}

std::vector<LevelBaseline::SavedEntry> LevelBaseline::EntriesToSave() const
{
    std::vector<SavedEntry> entries(records.size());
    auto saved = entries.begin();
    for (const auto& [key, record] : records) {
        saved->name = &record.name;
        saved->text = &record.text;
        if (key.IsLive()) {
            saved->liveId = key.slot;
            if (std::optional<Json> edited = Edited(EntrySnapshot::Of(key.slot), record)) {
                saved->editedName = edited->at("Handle").get<std::string>();
                saved->editedText = EntryText(*edited);
                saved->name = &saved->editedName;
                saved->text = &saved->editedText;
            }
        }
        ++saved;
    }
    return entries;
}

std::optional<Json> LevelBaseline::Edited(const EntrySnapshot& live, const Record& record)
{
    if (record.stopped && live.SameStoredFields(*record.stopped))
        return std::nullopt;  // the usual case, and the cheap one: no JSON at all
    const Json liveEntry = EntryOf(live);
    if (!record.stopped)
        return liveEntry;  // made since play stopped: all of it is new
    const Json stopped = EntryOf(*record.stopped);
    const Json level = Json::parse(record.text);
    return MergeMember(liveEntry, &stopped, &level);
}

}  // namespace Engine

#include "data/ArchetypeFile.h"

#include "core/ComponentFields.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "data/EntryReader.h"
#include "data/EntryWriter.h"
#include "data/GuardedRead.h"
#include "data/JsonReader.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* ArchetypesNotFound = "Could not find the ArchetypeList json file in Resources/Archetypes";
constexpr const char* ArchetypesNotWritable = "Could not find the Archetype Json file in Resources Levels";

constexpr int FileIndent = 4;

std::string Pretty(const Json& document)
{
    // A name that is not valid UTF-8 must not cost the user the whole save.
    return document.dump(FileIndent, ' ', false, Json::error_handler_t::replace);
}

std::unique_ptr<ArchetypeRecord> ReadArchetype(JsonReader& reader, const EntryReader& entries, const std::string& key, const Json& entry)
{
    reader.ExpectObject(entry, key);
    JsonReader::Scope entryScope(reader, key);
    auto record = std::make_unique<ArchetypeRecord>();
    record->name = reader.PlainString(entry, "Handle");

    entries.ReadMember(entry, ComponentFields<Transform>::member, [&](const Json& member) { entries.Read(member, record->transform); });
    entries.ReadMember(entry, ComponentFields<Sprite>::member, [&](const Json& member) { entries.Read(member, record->sprite); });
    entries.ReadMember(entry, ComponentFields<RigidBody>::member,
                       [&](const Json& member) { entries.ReadArchetypeRigidBody(member, record->rigidBody); });
    entries.ReadMember(entry, ComponentFields<Parallax>::member, [&](const Json& member) { entries.Read(member, record->parallax); });
    entries.ReadMember(entry, ComponentFields<Animation>::member, [&](const Json& member) { entries.Read(member, record->animation); });
    entries.ReadMember(entry, ComponentFields<EventSet>::member, [&](const Json& member) {
        // Every event is inserted, with the handlers collected for it (possibly none).
        std::map<std::string, std::vector<std::string>>& map = record->eventSet.events;
        entries.ReadEvents(
            member, [&map](const std::string& eventName) { map.try_emplace(eventName); },
            [&map](const std::string& eventName, const std::string& handlerName) { map[eventName].push_back(handlerName); });
    });
    entries.ReadMember(entry, ComponentFields<Range>::member, [&](const Json& member) { entries.Read(member, record->range); });
    return record;
}

// Parses the archetype list like any of the game's files, except that a member nested too
// deeply to be kept is dropped and the archetype holding it is named in tooDeep: it costs
// that archetype, not the whole list.
bool ParseArchetypeList(const JsonReader& reader, std::istream& in, Json& document, std::set<std::string>& tooDeep)
{
    std::string archetype;  // the key of the archetype being read
    const Json::parser_callback_t dropTooDeep = [&](int depth, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::key && depth == 1 && parsed.is_string())
            archetype = parsed.get<std::string>();
        const bool opens = event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start;
        if (!opens || depth < JsonReader::MaxDepth)
            return true;
        tooDeep.insert(archetype);
        return false;
    };
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!reader.HoldsNoNul(text))
        return false;
    try {
        document = Json::parse(text, dropTooDeep);
        return true;
    } catch (const Json::exception&) {
        // Not well-formed: the ordinary reading reports it as it reports every such file.
    }
    Json ignored;
    reader.Parse(text, ignored);
    return false;
}

}  // namespace

ArchetypeFile::ArchetypeFile(const std::filesystem::path& file, const SafeFileWriter::ReplaceFunction& replace)
    : path(file), replaceFile(replace)
{
}

void ArchetypeFile::Read(std::vector<std::unique_ptr<ArchetypeRecord>>& archetypes) const
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(ArchetypesNotFound);
        return;
    }
    JsonReader reader(path.string());
    Json document;
    std::set<std::string> tooDeep;
    if (!ParseArchetypeList(reader, in, document, tooDeep))
        return;

    // One faulty archetype is skipped and the others load. The skipped one stays in the file
    // as it is: a save or delete reads the file again and either keeps its entry or, for one
    // nested too deeply to be read at all, refuses to write.
    const EntryReader entries(reader);
    if (!Guarded(reader, [&] { reader.ExpectTopLevelObject(document); }))
        return;
    for (const auto& [key, entry] : document.items()) {
        if (tooDeep.contains(key)) {
            LogError("Could not read {}: the archetype \"{}\" is nested deeper than {} levels; it is skipped",
                     reader.FileName(), key, JsonReader::MaxDepth);
            continue;
        }
        std::unique_ptr<ArchetypeRecord> record;
        if (Guarded(reader, [&] { record = ReadArchetype(reader, entries, key, entry); }))
            archetypes.push_back(std::move(record));
        else
            LogError("The archetype \"{}\" of {} is skipped; the others are loaded", key, reader.FileName());
    }
}

bool ArchetypeFile::Store(std::uint32_t objectId) const
{
    JsonReader reader(path.string());
    Json document;
    if (!ReadDocument(path, ArchetypesNotFound, reader, document))
        return false;

    const GameObject* object = GameObjectTable::Instance().Get(objectId);
    if (object == nullptr) {
        LogError("Could not save an archetype: there is no game object {}", objectId);
        return false;
    }
    const bool edited = Guarded(reader, [&] {
        reader.ExpectTopLevelObject(document);
        if (document.contains(object->name))
            reader.ExpectObject(document[object->name], object->name);
        Json& entry = document[object->name];
        entry["Handle"] = object->name;
        EntryWriter::WriteComponents(entry, objectId, EntryWriter::Checkpoints::Skipped);
    });
    if (!edited)
        return false;

    std::string reason;
    switch (SafeFileWriter::Write(path, Pretty(document), replaceFile, &reason)) {
    case SafeFileWriter::Result::Written:
        return true;
    case SafeFileWriter::Result::CannotOpen:
        LogError("Could not save archetype \"{}\" to {}: {}", object->name, path.string(), reason);
        LogError(ArchetypesNotWritable);
        break;
    case SafeFileWriter::Result::Failed:
        break;
    }
    return false;
}

void ArchetypeFile::Remove(const std::string& name) const
{
    JsonReader reader(path.string());
    Json document;
    if (!ReadDocument(path, ArchetypesNotFound, reader, document))
        return;
    if (!Guarded(reader, [&] { reader.ExpectTopLevelObject(document); }))
        return;
    if (document.is_object())
        document.erase(name);

    std::string reason;
    if (SafeFileWriter::Write(path, Pretty(document), replaceFile, &reason) == SafeFileWriter::Result::CannotOpen) {
        LogError("Could not delete archetype \"{}\" from {}: {}", name, path.string(), reason);
        LogError(ArchetypesNotWritable);
    }
}

}  // namespace Engine

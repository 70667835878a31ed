#include "data/LevelManager.h"

#include "core/AnimationTable.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "data/EntryReader.h"
#include "data/EntryWriter.h"
#include "data/JsonReader.h"
#include "data/LevelEntryRecord.h"
#include "data/LevelScanner.h"
#include "data/LevelWriter.h"
#include "gameplay/ParticleSystem.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* LevelNotFound = "Could not find the loaded level's Json file in Resources Levels";
constexpr const char* LevelNotWritable = "Could not find the Level 1 Json file in Resources Levels";
constexpr const char* ArchetypesNotFound = "Could not find the ArchetypeList json file in Resources/Archetypes";
constexpr const char* ArchetypesNotWritable = "Could not find the Archetype Json file in Resources Levels";
constexpr const char* AnimationsNotFound = "Could not find the Animation Data json file in Resources/Aniamtions";

constexpr int FileIndent = 4;

// Runs one read or edit of a file's document; a fault in the file ends it with one error line.
// Nothing else is caught: the engine's own failures are not format errors.
template <typename Work>
bool Guarded(const JsonReader& reader, Work&& work)
{
    try {
        work();
        return true;
    } catch (const FormatError& error) {
        LogError(error.what());
    } catch (const Json::exception& error) {
        LogError("Could not read {}: {}", reader.FileName(), error.what());
    }
    return false;
}

std::string Pretty(const Json& document)
{
    // A name that is not valid UTF-8 must not cost the user the whole save.
    return document.dump(FileIndent, ' ', false, Json::error_handler_t::replace);
}

// Opens and parses one of the game's files; a missing file is logged with the game's own line.
bool ReadDocument(const std::filesystem::path& path, const char* missingLine, JsonReader& reader, Json& document)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(missingLine);
        return false;
    }
    return reader.Parse(in, document);
}

std::string ReadText(std::ifstream& in)
{
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), size);
        text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    // Whatever the size said, the rest of the stream is read too.
    in.clear();
    text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

void RemoveEveryObject()
{
    GameObjectTable& table = GameObjectTable::Instance();
    for (std::uint32_t id = 0; id < MaxGameObjects; ++id) {
        if (table.Get(id) != nullptr)
            table.RemoveGameObject(id);
    }
}

// False when the table was full: the entry's object could not be made. Once read, the entry
// goes to the level's baseline.
bool LoadEntry(JsonReader& reader, const EntryReader& entries, const std::string& key, const Json& entry,
               LevelBaseline& baseline)
{
    reader.ExpectObject(entry, key);
    JsonReader::Scope entryScope(reader, key);
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(reader.PlainString(entry, "Handle"));
    if (id == InvalidObjectId)
        return false;  // a full table: components go only to objects that exist

    entries.AddComponent<Transform>(entry, "Transform", id);
    entries.AddComponent<Sprite>(entry, "Sprite", id);
    entries.AddComponent<RigidBody>(entry, "RigidBody", id);
    if (entry.contains("Controller"))
        ComponentStore::Instance().AddComponent<Controller>(id);  // no field is read
    entries.AddComponent<Parallax>(entry, "Parallax", id);
    entries.AddComponent<Animation>(entry, "Animation", id);
    if (const auto events = entry.find("Events"); events != entry.end()) {
        reader.ExpectObject(*events, "Events");
        ComponentStore::Instance().AddComponent<EventSet>(id);
        JsonReader::Scope scope(reader, "Events");
        entries.ReadEvents(*events, {}, [id](const std::string& eventName, const std::string& handlerName) {
            LevelEntryRecord::AddLoadedHandler(id, eventName, handlerName);
        });
    }
    entries.AddComponent<Checkpoint>(entry, "Checkpoint", id);
    entries.AddComponent<Range>(entry, "Range", id);
    baseline.AddFromFile(id, entry);
    return true;
}

std::unique_ptr<ArchetypeRecord> ReadArchetype(JsonReader& reader, const EntryReader& entries, const std::string& key, const Json& entry)
{
    reader.ExpectObject(entry, key);
    JsonReader::Scope entryScope(reader, key);
    auto record = std::make_unique<ArchetypeRecord>();
    record->name = reader.PlainString(entry, "Handle");

    entries.ReadMember(entry, "Transform", [&](const Json& member) { entries.Read(member, record->transform); });
    entries.ReadMember(entry, "Sprite", [&](const Json& member) { entries.Read(member, record->sprite); });
    entries.ReadMember(entry, "RigidBody",
                       [&](const Json& member) { entries.ReadArchetypeRigidBody(member, record->rigidBody); });
    entries.ReadMember(entry, "Parallax", [&](const Json& member) { entries.Read(member, record->parallax); });
    entries.ReadMember(entry, "Animation", [&](const Json& member) { entries.Read(member, record->animation); });
    entries.ReadMember(entry, "Events", [&](const Json& member) {
        // Every event is inserted, with the handlers collected for it (possibly none).
        std::map<std::string, std::vector<std::string>>& map = record->eventSet.events;
        entries.ReadEvents(
            member, [&map](const std::string& eventName) { map.try_emplace(eventName); },
            [&map](const std::string& eventName, const std::string& handlerName) { map[eventName].push_back(handlerName); });
    });
    entries.ReadMember(entry, "Range", [&](const Json& member) { entries.Read(member, record->range); });
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
    try {
        document = Json::parse(in, dropTooDeep);
        return true;
    } catch (const Json::exception&) {
        // Not well-formed: the ordinary reading reports it as it reports every such file.
    }
    in.clear();
    in.seekg(0);
    Json ignored;
    reader.Parse(in, ignored);
    return false;
}

}  // namespace

LevelManager& LevelManager::Instance()
{
    static LevelManager manager;
    return manager;
}

void LevelManager::LoadLevelNames()
{
    std::ifstream in(levelListPath, std::ios::binary);
    if (!in)
        return;
    JsonReader reader(levelListPath.string());
    Json document;
    if (!reader.Parse(in, document))
        return;

    // All or nothing: a fault anywhere leaves both lists as they were.
    std::vector<std::pair<std::string, std::string>> levels;
    const bool read = Guarded(reader, [&] {
        if (!document.is_object())
            reader.Fail("", "expected an object");
        for (const auto& [name, path] : document.items()) {
            if (!path.is_string())
                reader.Fail(name, "expected the level file's path as a string");
            levels.emplace_back(name, path.get<std::string>());
        }
    });
    if (!read || levels.empty())
        return;
    for (auto& [name, path] : levels) {
        levelNames.push_back(std::move(name));
        levelPaths.push_back(std::move(path));
    }
    currentLevel = levelNames.front();
}

std::optional<std::size_t> LevelManager::FindLevelIndex(const std::string& name) const
{
    const auto found = std::find(levelNames.begin(), levelNames.end(), name);
    if (found == levelNames.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - levelNames.begin());
}

void LevelManager::LoadLevel(std::string name)
{
    LogDebug("Attempting to load level: " + name);
    const std::optional<std::size_t> index = FindLevelIndex(name);
    if (!index) {
        LogError(LevelNotFound);
        return;
    }
    const std::string& path = levelPaths[*index];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(LevelNotFound);
        return;
    }

    const std::string text = ReadText(in);
    in.close();

    // A file in the plain shape the game writes is read straight into records; any other is
    // read as a document, which reports what is wrong with it. Both make the same objects.
    std::vector<LevelEntryRecord> records;
    const bool plain = LevelScanner::Scan(text, records);
    // Until the old world goes, a failed load leaves everything as it was, the current level's
    // name included: a save then still writes the old world into its own file.
    JsonReader reader(path);
    Json document;
    if (!plain && (!reader.Parse(text, document) || !Guarded(reader, [&] { reader.ExpectTopLevelObject(document); })))
        return;

    currentLevel = name;
    levelLoadedWhole = false;
    RemoveEveryObject();
    baseline.Clear();
    // Live particles fly on; only the emitters go, the trail with them.
    GetSystem<ParticleSystem>()->emitters.clear();

    std::size_t objectsMissing = 0;
    bool complete = true;
    if (plain) {
        GameObjectTable& table = GameObjectTable::Instance();
        for (LevelEntryRecord& record : records) {
            const std::uint32_t id = table.CreateGameObject(record.handle);
            if (id == InvalidObjectId) {
                ++objectsMissing;  // a full table: components go only to objects that exist
                continue;
            }
            record.AddComponentsTo(id);
            baseline.AddFromFile(id, record.handle, std::move(record.text));
        }
    } else {
        const EntryReader entries(reader);
        complete = Guarded(reader, [&] {
            for (const auto& [key, entry] : document.items()) {
                if (!LoadEntry(reader, entries, key, entry, baseline))
                    ++objectsMissing;
            }
        });
    }
    baseline.CaptureWorld();
    if (!complete)
        return;
    if (objectsMissing > 0)
        LogError("Level {} has {} more objects than the game can hold; it loaded only in part", name, objectsMissing);
    levelLoadedWhole = objectsMissing == 0;

    const std::int32_t followed = Camera::Instance()->followedObjectId;
    GetSystem<EventManager>()->TriggerEvent(static_cast<std::uint32_t>(followed), "Spawn HeatMap");
    GetSystem<ParticleSystem>()->CreatePlayerTrail(0.0f, 86.0f, 255.0f, 255.0f);
}

void LevelManager::SaveLevel()
{
    LogDebug("Saving Level");
    const std::optional<std::size_t> index = FindLevelIndex(currentLevel);
    if (!index) {
        LogError("Could not save level \"{}\": it is not in the level list", currentLevel);
        LogError(LevelNotWritable);
        return;
    }
    const std::string& path = levelPaths[*index];
    if (!levelLoadedWhole) {
        LogError("Not saving level \"{}\": it loaded only in part, and saving would overwrite {} with less than it holds",
                 currentLevel, path);
        return;
    }

    const std::string text = LevelWriter::Text(baseline.EntriesToSave(), Camera::Instance()->followedObjectId);
    std::string reason;
    switch (SafeFileWriter::Write(path, text, replaceFile, &reason)) {
    case SafeFileWriter::Result::Written:
        break;
    case SafeFileWriter::Result::CannotOpen:
        LogError("Could not save level \"{}\" to {}: {}", currentLevel, path, reason);
        LogError(LevelNotWritable);
        break;
    case SafeFileWriter::Result::Failed:
        LogError("Could not save level \"{}\" to {}: {}", currentLevel, path, reason);
        break;
    }
}

void LevelManager::LoadArchetypes()
{
    archetypes.clear();
    std::ifstream in(archetypePath, std::ios::binary);
    if (!in) {
        LogError(ArchetypesNotFound);
        return;
    }
    JsonReader reader(archetypePath.string());
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

void LevelManager::SaveArchetype(std::uint32_t objectId)
{
    JsonReader reader(archetypePath.string());
    Json document;
    if (!ReadDocument(archetypePath, ArchetypesNotFound, reader, document))
        return;

    const GameObject* object = GameObjectTable::Instance().Get(objectId);
    if (object == nullptr) {
        LogError("Could not save an archetype: there is no game object {}", objectId);
        return;
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
        return;

    std::string reason;
    switch (SafeFileWriter::Write(archetypePath, Pretty(document), replaceFile, &reason)) {
    case SafeFileWriter::Result::Written:
        LoadArchetypes();
        break;
    case SafeFileWriter::Result::CannotOpen:
        LogError("Could not save archetype \"{}\" to {}: {}", object->name, archetypePath.string(), reason);
        LogError(ArchetypesNotWritable);
        break;
    case SafeFileWriter::Result::Failed:
        break;
    }
}

void LevelManager::DeleteArchetype(std::string name)
{
    const auto found = std::find_if(archetypes.begin(), archetypes.end(), [&](const auto& record) { return record->name == name; });
    if (found == archetypes.end())
        return;
    archetypes.erase(found);

    JsonReader reader(archetypePath.string());
    Json document;
    if (!ReadDocument(archetypePath, ArchetypesNotFound, reader, document))
        return;
    if (!Guarded(reader, [&] { reader.ExpectTopLevelObject(document); }))
        return;
    if (document.is_object())
        document.erase(name);

    std::string reason;
    if (SafeFileWriter::Write(archetypePath, Pretty(document), replaceFile, &reason) == SafeFileWriter::Result::CannotOpen) {
        LogError("Could not delete archetype \"{}\" from {}: {}", name, archetypePath.string(), reason);
        LogError(ArchetypesNotWritable);
    }
}

void LevelManager::LoadAnimationData()
{
    JsonReader reader(animationDataPath.string());
    Json document;
    if (!ReadDocument(animationDataPath, AnimationsNotFound, reader, document))
        return;

    // The animation system reads the file again on every update while it has no definitions;
    // a read that registers nothing must then not list names, or the list grows every frame.
    AnimationTable& table = AnimationTable::Instance();
    const std::size_t listedBefore = animationHandles.size();
    Guarded(reader, [&] {
        if (!document.is_object())
            reader.Fail("", "expected an object");
        for (const auto& [key, definition] : document.items()) {
            reader.ExpectObject(definition, key);
            JsonReader::Scope scope(reader, key);
            std::string name = reader.PlainString(definition, "Handle");
            animationHandles.push_back(name);  // listed even when a later member is faulty

            AnimationData data;
            data.frameCount = reader.Int(definition, "Frame Count");
            data.rows = reader.Int(definition, "Rows");
            data.columns = reader.Int(definition, "Columns");
            data.frameDelay = reader.Float(definition, "Frame Delay");
            data.looping = reader.Bool(definition, "Looping");
            data.spriteSheet = reader.PlainString(definition, "Sprite Sheet");
            table.Add(name, std::move(data));
        }
    });
    if (table.definitions.empty())
        animationHandles.resize(listedBefore);
}

}  // namespace Engine

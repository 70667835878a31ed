#include "data/LevelManager.h"

#include "core/AnimationTable.h"
#include "core/Checkpoint.h"
#include "core/ComponentFields.h"
#include "core/ComponentStore.h"
#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "data/AnimationFile.h"
#include "data/ArchetypeFile.h"
#include "data/EntryReader.h"
#include "data/GuardedRead.h"
#include "data/JsonReader.h"
#include "data/LevelEntryRecord.h"
#include "data/LevelFile.h"
#include "data/LevelLoadSteps.h"
#include "data/LevelWriter.h"
#include "graphics/Camera.h"

#include <algorithm>
#include <fstream>
#include <utility>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* LevelNotWritable = "Could not find the Level 1 Json file in Resources Levels";

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
bool LoadEntry(JsonReader& reader, const EntryReader& entries, const Json& entry, LevelBaseline& baseline)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(reader.PlainString(entry, "Handle"));
    if (id == InvalidObjectId)
        return false;  // a full table: components go only to objects that exist

    entries.AddComponent<Transform>(entry, id);
    entries.AddComponent<Sprite>(entry, id);
    entries.AddComponent<RigidBody>(entry, id);
    if (entry.contains(ComponentFields<Controller>::member))
        ComponentStore::Instance().AddComponent<Controller>(id);  // no field is read
    entries.AddComponent<Parallax>(entry, id);
    entries.AddComponent<Animation>(entry, id);
    constexpr const char* EventsMember = ComponentFields<EventSet>::member;
    if (const auto events = entry.find(EventsMember); events != entry.end()) {
        reader.ExpectObject(*events, EventsMember);
        ComponentStore::Instance().AddComponent<EventSet>(id);
        JsonReader::Scope scope(reader, EventsMember);
        entries.ReadEvents(*events, {}, [id](const std::string& eventName, const std::string& handlerName) {
            LevelEntryRecord::AddLoadedHandler(id, eventName, handlerName);
        });
    }
    entries.AddComponent<Checkpoint>(entry, id);
    entries.AddComponent<Range>(entry, id);
    baseline.AddFromFile(id, entry);
    return true;
}

// One load's walk: once the file reads as a level, the old world goes (the current level's
// name changes with it) and every entry becomes an object of the new one.
class LevelLoad final : public LevelEntryVisitor {
public:
    LevelLoad(const std::string& levelName, std::string& current, bool& whole, LevelBaseline& levelBaseline)
        : name(levelName), currentLevel(current), loadedWhole(whole), baseline(levelBaseline)
    {
    }

    bool TakesRecords() const override { return true; }

    void Begin() override
    {
        // Until now a failed load left everything as it was, the current level's name included:
        // a save then still writes the old world into its own file.
        currentLevel = name;
        loadedWhole = false;
        RemoveEveryObject();
        baseline.Clear();
        LevelLoadSteps::WorldCleared();
    }

    void Visit(LevelEntryRecord& record) override
    {
        const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(record.handle);
        if (id == InvalidObjectId) {
            ++objectsMissing;  // a full table: components go only to objects that exist
            return;
        }
        record.AddComponentsTo(id);
        baseline.AddFromFile(id, record.handle, std::move(record.text));
    }

    void Visit(JsonReader& reader, const EntryReader& entries, const std::string&, const Json& entry) override
    {
        if (!LoadEntry(reader, entries, entry, baseline))
            ++objectsMissing;
    }

    std::size_t objectsMissing = 0;

private:
    const std::string& name;
    std::string& currentLevel;
    bool& loadedWhole;
    LevelBaseline& baseline;
};

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
    LevelLoad load(name, currentLevel, levelLoadedWhole, baseline);
    const LevelWalk walk = ForEachLevelEntry(name, load);
    if (walk == LevelWalk::NotRead)
        return;
    baseline.CaptureWorld();
    if (walk == LevelWalk::Stopped)
        return;
    if (load.objectsMissing > 0)
        LogError("Level {} has {} more objects than the game can hold; it loaded only in part", name, load.objectsMissing);
    levelLoadedWhole = load.objectsMissing == 0;
    LevelLoadSteps::LevelLoaded();
}

void LevelManager::SaveLevel()
{
    LogDebug("Saving Level");
    const std::optional<std::size_t> index = FindLevelIndex(currentLevel);
    if (!index) {
        LogError("Could not save level \"{}\": it is not in the level list", currentLevel);
        LogError(LevelNotWritable);
        lastSave = SaveOutcome::NotListed;
        return;
    }
    const std::string& path = levelPaths[*index];
    if (!levelLoadedWhole) {
        LogError("Not saving level \"{}\": it loaded only in part, and saving would overwrite {} with less than it holds",
                 currentLevel, path);
        lastSave = SaveOutcome::LoadedInPart;
        return;
    }

    const std::string text = LevelWriter::Text(baseline.EntriesToSave(), Camera::Instance()->followedObjectId);
    std::string reason;
    lastSave = SaveOutcome::WriteFailed;
    switch (SafeFileWriter::Write(path, text, replaceFile, &reason)) {
    case SafeFileWriter::Result::Written:
        lastSave = SaveOutcome::Saved;
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
    ArchetypeFile(archetypePath, replaceFile).Read(archetypes);
}

void LevelManager::SaveArchetype(std::uint32_t objectId)
{
    if (ArchetypeFile(archetypePath, replaceFile).Store(objectId))
        LoadArchetypes();
}

void LevelManager::DeleteArchetype(std::string name)
{
    const auto found = std::find_if(archetypes.begin(), archetypes.end(), [&](const auto& record) { return record->name == name; });
    if (found == archetypes.end())
        return;
    archetypes.erase(found);
    ArchetypeFile(archetypePath, replaceFile).Remove(name);
}

void LevelManager::LoadAnimationData() { AnimationFile::Read(animationDataPath, animationHandles, AnimationTable::Instance()); }

}  // namespace Engine

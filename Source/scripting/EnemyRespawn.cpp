#include "scripting/EnemyRespawn.h"

#include "core/ComponentStore.h"
#include "core/EventManager.h"
#include "core/GameObjectTable.h"
#include "core/GameStateIndex.h"
#include "core/Log.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "data/EntryReader.h"
#include "data/JsonReader.h"
#include "data/LevelManager.h"
#include "data/LevelOrder.h"

#include <fstream>
#include <optional>

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* LevelNotFound = "Could not find the loaded level's Json file in Resources Levels";
constexpr const char* EnemyHandle = "Enemy";

void RespawnEnemy(JsonReader& reader, const EntryReader& entries, const Json& entry)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(EnemyHandle);
    if (id == InvalidObjectId)
        return;  // a full table: components go only to objects that exist
    entries.AddComponent<Transform>(entry, "Transform", id);
    entries.AddComponent<Sprite>(entry, "Sprite", id);
    entries.AddComponent<RigidBody>(entry, "RigidBody", id);
    if (const auto events = entry.find("Events"); events != entry.end()) {
        reader.ExpectObject(*events, "Events");
        JsonReader::Scope scope(reader, "Events");
        EventManager* eventManager = GetSystem<EventManager>();
        entries.ReadEvents(*events, {}, [&](const std::string& eventName, const std::string& handlerName) {
            eventManager->AddEvent(id, eventName, handlerName);
        });
    }
    // Only the distance and the bullet speed are stored; a new Range waits a full interval.
    entries.AddComponent<Range>(entry, "Range", id);
}

void RemoveEnemies()
{
    GameObjectTable& table = GameObjectTable::Instance();
    ComponentStore& store = ComponentStore::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        if (store.GetComponent<Range>(id) != nullptr)
            table.RemoveGameObject(id);
    }
}

}  // namespace

void RespawnEnemies()
{
    const LevelInfo* level = LevelOfState(GameStateIndex);
    const std::string name = level != nullptr ? level->level : "";
    LogDebug("Attempting to load eneimies from level: " + name);

    const LevelManager& levels = LevelManager::Instance();
    const std::optional<std::size_t> index = levels.FindLevelIndex(name);
    if (!index || *index >= levels.levelPaths.size()) {
        LogError(LevelNotFound);
        return;
    }
    const std::string& path = levels.levelPaths[*index];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(LevelNotFound);
        return;
    }

    JsonReader reader(path);
    Json document;
    if (!reader.Parse(in, document))
        return;  // not JSON: the enemies stay as they are
    in.close();
    try {
        reader.ExpectTopLevelObject(document);
    } catch (const FormatError& error) {
        LogError(error.what());
        return;
    }

    RemoveEnemies();
    const EntryReader entries(reader);
    try {
        for (const auto& [key, entry] : document.items()) {
            reader.ExpectObject(entry, key);
            JsonReader::Scope scope(reader, key);
            if (reader.PlainString(entry, "Handle") == EnemyHandle)
                RespawnEnemy(reader, entries, entry);
        }
    } catch (const FormatError& error) {
        LogError(error.what());
    } catch (const Json::exception& error) {
        LogError("Could not read {}: {}", path, error.what());
    }
}

}  // namespace Engine

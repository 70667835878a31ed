#include "scripting/EnemyRespawn.h"

#include "core/ComponentFields.h"
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
#include "data/LevelFile.h"
#include "data/LevelOrder.h"

namespace Engine {

namespace {

using Json = nlohmann::json;

constexpr const char* EnemyHandle = "Enemy";

void RespawnEnemy(JsonReader& reader, const EntryReader& entries, const Json& entry)
{
    const std::uint32_t id = GameObjectTable::Instance().CreateGameObject(EnemyHandle);
    if (id == InvalidObjectId)
        return;  // a full table: components go only to objects that exist
    entries.AddComponent<Transform>(entry, id);
    entries.AddComponent<Sprite>(entry, id);
    entries.AddComponent<RigidBody>(entry, id);
    constexpr const char* EventsMember = ComponentFields<EventSet>::member;
    if (const auto events = entry.find(EventsMember); events != entry.end()) {
        reader.ExpectObject(*events, EventsMember);
        JsonReader::Scope scope(reader, EventsMember);
        EventManager* eventManager = GetSystem<EventManager>();
        entries.ReadEvents(*events, {}, [&](const std::string& eventName, const std::string& handlerName) {
            eventManager->AddEvent(id, eventName, handlerName);
        });
    }
    // Only the distance and the bullet speed are stored; a new Range waits a full interval.
    entries.AddComponent<Range>(entry, id);
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

// The respawn's walk: once the file reads as a level, every enemy goes, and each "Enemy"
// entry comes back. Every file is read as a document, entry by entry.
class EnemyWalk final : public LevelEntryVisitor {
public:
    void Begin() override { RemoveEnemies(); }

    void Visit(JsonReader& reader, const EntryReader& entries, const std::string&, const Json& entry) override
    {
        if (reader.PlainString(entry, "Handle") == EnemyHandle)
            RespawnEnemy(reader, entries, entry);
    }
};

}  // namespace

void RespawnEnemies()
{
    const LevelInfo* level = LevelOfState(GameStateIndex);
    const std::string name = level != nullptr ? level->level : "";
    LogDebug("Attempting to load eneimies from level: " + name);
    EnemyWalk walk;
    ForEachLevelEntry(name, walk);
}

}  // namespace Engine

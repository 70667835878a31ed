#include "data/LevelWriter.h"

#include "core/GameObjectTable.h"
#include "data/EntryWriter.h"

#include <fmt/format.h>

#include <unordered_map>

namespace Engine {

namespace {
constexpr const char* PlayerKey = "APlayer";
}

std::string LevelWriter::NumberedKey(const std::string& name, std::uint32_t count)
{
    return fmt::format("{} #{:05}", name, count);
}

nlohmann::json LevelWriter::BuildDocument(std::int32_t followedObjectId)
{
    GameObjectTable& table = GameObjectTable::Instance();
    const bool playerPresent = followedObjectId >= 0 && table.Get(static_cast<std::uint32_t>(followedObjectId)) != nullptr;

    nlohmann::json document;  // stays null for an empty world
    // Two objects of one name must not share an entry, or one of them is lost on the next load.
    std::unordered_map<std::string, std::uint32_t> lastCount;
    auto taken = [&](const std::string& key) {
        return document.contains(key) || (playerPresent && key == PlayerKey);
    };

    for (std::uint32_t id = 0; id < MaxGameObjects; ++id) {
        const GameObject* object = table.Get(id);
        if (object == nullptr)
            continue;

        std::string key;
        if (playerPresent && static_cast<std::int32_t>(id) == followedObjectId) {
            key = PlayerKey;
        } else if (!taken(object->name)) {
            key = object->name;
        } else {
            std::uint32_t& count = lastCount.try_emplace(object->name, 1).first->second;
            do
                key = NumberedKey(object->name, ++count);
            while (taken(key));
        }

        nlohmann::json& entry = document[key];
        entry["Handle"] = object->name;
        EntryWriter::WriteComponents(entry, id, EntryWriter::Checkpoints::Written);
    }
    return document;
}

}  // namespace Engine

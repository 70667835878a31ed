// Engine::LevelBaseline: the level as its designer made it, kept by Engine::LevelManager beside
// the live world so that a save writes the level and not the play. Play changes the world all
// the time (the player's pose pictures, checkpoints reached, enemies shot down) and makes objects
// of its own (bullets, score digits, heat-map marks); none of that belongs in the level file.
//
// Every object of the level has an entry here: the one its file gave it, or the one the editor
// made it with. The world is also captured whenever play stops (after a load and when the editor
// opens), so that what changes afterwards is known to be an edit. A save writes, for each level
// object, the fields edited since then and the level's own values for the rest, with the file's
// numbers exactly as they were; objects that play made have no entry and are not written.
#pragma once

#include "core/GameObjectTable.h"
#include "data/EntrySnapshot.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Engine {

class LevelBaseline {
public:
    using Json = nlohmann::json;

    // One entry of a save: the object's name and the entry's text (the JSON library's text
    // with an indentation of 4). `liveId` is set for an object in the world now, and unset for
    // a level object that play removed (an enemy shot down), which the level keeps. `name` and
    // `text` point into the baseline when nothing was edited, else at `editedName` and
    // `editedText`; they live as long as the baseline is not changed.
    struct SavedEntry {
        std::optional<std::uint32_t> liveId;
        const std::string* name = nullptr;
        const std::string* text = nullptr;
        std::string editedName;
        std::string editedText;
    };

    // A new level: no object is part of it yet.
    void Clear();
    // An object that the level load made, with its entry as the file holds it.
    void AddFromFile(std::uint32_t id, const Json& entry);
    // The same with the entry's handle and text (as EntryText gives it) already at hand.
    void AddFromFile(std::uint32_t id, std::string name, std::string text);
    // An object that the editor made: part of the level, as it is now and whatever it becomes.
    void Adopt(std::uint32_t id);
    // An object that the editor is about to remove: no longer part of the level.
    void Drop(std::uint32_t id);

    // Play stops (a load has finished, or the editor opens): the world as it is now is the
    // ground against which edits are told apart.
    void CaptureWorld();
    // The edits made since the capture become part of the level, and the world as it is now
    // the new ground; run at the end of every editor frame, since play may go on after it.
    void KeepEdits();

    // The entries of a save, in id order.
    std::vector<SavedEntry> EntriesToSave() const;

    // The text of an entry as level files hold it.
    static std::string EntryText(const Json& entry);

private:
    struct Record {
        std::string name;                      // the level's name for the object
        std::string text;                      // the level's own entry, as EntryText gives it
        std::optional<EntrySnapshot> stopped;  // the object when play last stopped; none when made since
    };
    // The level's entry after the edits made to the live object since play stopped; none when
    // nothing was edited, so that the level's entry stands as it is.
    static std::optional<Json> Edited(const EntrySnapshot& live, const Record& record);

    // Keyed by reference, so that an object removed by play stays apart from a later object in
    // the same slot; references order by id.
    std::map<ObjectRef, Record> records;
};

}  // namespace Engine

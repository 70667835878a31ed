// The one reader of a level's file: ForEachLevelEntry finds the level in the level list,
// reads its file and hands each entry, in byte order of the keys, to a LevelEntryVisitor.
// The level loader and the enemy respawn walk their levels with it.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace Engine {

class EntryReader;
class JsonReader;
struct LevelEntryRecord;

class LevelEntryVisitor {
public:
    // True to be handed a file in the game's own plain shape as scanned records; otherwise
    // every file is read as a document.
    virtual bool TakesRecords() const { return false; }
    // The file reads as a level: the walk starts. Not called for a file that fails before it.
    virtual void Begin() {}
    // An entry of a scanned file, every field checked; the record may be taken apart.
    virtual void Visit(LevelEntryRecord& record);
    // An entry of a document, already checked to be an object and scoped under its key on the
    // reader; a fault throws and ends the walk.
    virtual void Visit(JsonReader& reader, const EntryReader& entries, const std::string& key,
                       const nlohmann::json& entry) = 0;

protected:
    ~LevelEntryVisitor() = default;
};

enum class LevelWalk {
    NotRead,  // not listed, not opened, or not a level's file: logged, and nothing was visited
    Stopped,  // a faulty entry ended the walk, logged; the entries before it were visited
    Whole,    // every entry was visited
};

LevelWalk ForEachLevelEntry(const std::string& name, LevelEntryVisitor& visitor);

}  // namespace Engine

// Engine::LevelManager: keeper of the level list, the current level, the archetype records and
// the animation names, and the door to the operations on the game's JSON files: the level list
// and a level's load and save here, the archetypes in ArchetypeFile, the animations in
// AnimationFile. Game start-up, the game flow and the editor call it. A malformed file is
// logged and survived: the read stops at the fault and what came before it stays.
#pragma once

#include "data/ArchetypeRecord.h"
#include "data/LevelBaseline.h"
#include "data/SafeFileWriter.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Engine {

class LevelManager {
public:
    static LevelManager& Instance();

    // Appends the level list file's entries in byte order of their names.
    void LoadLevelNames();
    // The first index whose name equals `name` exactly (case counts); none when not listed.
    std::optional<std::size_t> FindLevelIndex(const std::string& name) const;

    // Replaces the whole world with the level's objects, in byte order of the entry keys, and
    // runs the installed LevelLoadSteps. A file that cannot be read or parsed changes nothing,
    // the current level's name included.
    void LoadLevel(std::string name);
    // Writes the level (its file's objects and those the editor made, as edited; see
    // LevelBaseline), in id order, into the current level's file; refused (and logged) while
    // the current level loaded only in part.
    void SaveLevel();
    // What the last SaveLevel did, for the editor's banner.
    enum class SaveOutcome { None, Saved, NotListed, LoadedInPart, WriteFailed };
    SaveOutcome LastSave() const { return lastSave; }
    // False after a load that stopped at a faulty entry or ran out of object slots: the world
    // then holds less than the level's file, and saving it would cut the file down.
    bool CurrentLevelLoadedWhole() const { return levelLoadedWhole; }

    // The editor made this object (placed, copied, added): it is part of the level.
    void KeepInLevel(std::uint32_t objectId) { baseline.Adopt(objectId); }
    // The editor is about to remove this object: it leaves the level.
    void DropFromLevel(std::uint32_t objectId) { baseline.Drop(objectId); }
    // The editor opens over the world: what changes from now on is an edit.
    void PlayStopped() { baseline.CaptureWorld(); }
    // The end of an editor frame: its edits are part of the level, whatever play does next.
    void KeepEdits() { baseline.KeepEdits(); }

    void LoadArchetypes();
    // Stores the live object as the archetype of its name, then reloads the list.
    void SaveArchetype(std::uint32_t objectId);
    void DeleteArchetype(std::string name);

    // Adds every animation definition to Engine::AnimationTable and lists its name.
    void LoadAnimationData();

    std::vector<std::string> levelPaths;  // parallel to levelNames
    std::vector<std::string> levelNames;  // byte order of the level list's keys
    std::string currentLevel;
    std::vector<std::unique_ptr<ArchetypeRecord>> archetypes;
    std::vector<std::string> animationHandles;  // in the order they were read

    // The files, relative to the working folder as the game runs; tests point them at fixtures.
    std::filesystem::path levelListPath = "Resources/Levels/LevelNames.json";
    std::filesystem::path archetypePath = "Resources/Archetypes/ArchetypeList.json";
    std::filesystem::path animationDataPath = "Resources/Animations/AnimationData.json";
    // The last step of every save; a test may make it fail to show that the old file stays.
    SafeFileWriter::ReplaceFunction replaceFile = SafeFileWriter::Rename;

    LevelManager(const LevelManager&) = delete;
    LevelManager& operator=(const LevelManager&) = delete;

private:
    LevelManager() = default;

    bool levelLoadedWhole = true;
    SaveOutcome lastSave = SaveOutcome::None;
    LevelBaseline baseline;
};

}  // namespace Engine

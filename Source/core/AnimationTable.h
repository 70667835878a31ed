// Engine::AnimationTable: the sprite-sheet animations by name. The level manager fills it from
// the animation data file; the animation update plays from it and the renderer reads each
// animated sprite's sheet and cell counts here.
#pragma once

#include "core/AnimationData.h"

#include <map>
#include <string>

namespace Engine {

class AnimationTable {
public:
    static AnimationTable& Instance();

    // Reads the animation data file into the table. The game's start-up installs the reader
    // (game/LevelRoutes.cpp); without one nothing is read.
    using FileReader = void (*)();
    static void InstallFileReader(FileReader reader);
    static void ReadFile();

    // Keeps an existing definition of the same name unchanged; logs the name either way.
    void Add(const std::string& name, AnimationData data);
    // The definition of a handle, or the all-zero one (no cells) for a name not in the table;
    // nothing is added, so drawing changes nothing here.
    const AnimationData& Find(const std::string& handle) const;
    // The animation update's lookup: an unknown handle is added as the all-zero definition,
    // which has no cells and never advances.
    const AnimationData& Definition(const std::string& handle);

    std::map<std::string, AnimationData> definitions;

    AnimationTable(const AnimationTable&) = delete;
    AnimationTable& operator=(const AnimationTable&) = delete;

private:
    AnimationTable() = default;
};

}  // namespace Engine

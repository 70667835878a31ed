// Engine::AnimationFile: reads the animation data file into Engine::AnimationTable and lists
// each definition's name (for the inspector's animation choice) as it goes.
// LevelManager::LoadAnimationData runs it with the level manager's path and name list.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Engine {

class AnimationTable;

class AnimationFile {
public:
    // Adds every definition in key order; a faulty one ends the read, keeping those before it
    // (and its own name, which is listed before its members are read).
    static void Read(const std::filesystem::path& path, std::vector<std::string>& handles, AnimationTable& table);
};

}  // namespace Engine

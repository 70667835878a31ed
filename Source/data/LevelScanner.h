// Engine::LevelScanner: reads a level file's text straight into entry records, without building
// the JSON document, for files in the plain shape the game writes. Anything it does not take as
// plain (a fault of any kind, a repeated key, a field array of more than one item, a number that
// does not fit) makes it give up, and the level loader reads the file the general way, which
// reports what is wrong. Each record also carries its entry's text as the level's baseline keeps
// it, written from the scan itself. Used by Engine::LevelManager::LoadLevel.
#pragma once

#include "data/LevelEntryRecord.h"

#include <string>
#include <vector>

namespace Engine {

class LevelScanner {
public:
    // The entries in ascending byte order of their keys (null gives none), or false when the
    // text is not plain as above; entries is then left in no particular state.
    static bool Scan(const std::string& text, std::vector<LevelEntryRecord>& entries);
};

}  // namespace Engine

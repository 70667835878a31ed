// The user's Documents folder, where the game keeps its log and leaderboard:
// $XDG_DOCUMENTS_DIR when set and not empty, else $HOME/Documents.
#pragma once

#include <filesystem>

namespace Platform {

// The folder is created when it does not exist yet.
std::filesystem::path DocumentsFolder();

}  // namespace Platform

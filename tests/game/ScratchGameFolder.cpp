#include "ScratchGameFolder.h"

#include "TestSupport.h"

#include <filesystem>

namespace EndToEnd {

void UseScratchGameFolder()
{
    namespace fs = std::filesystem;
    const fs::path root = TestSupport::TemporaryHome() / "game";
    const fs::path resources = fs::path(VANTREL_SOURCE_DIR) / "Resources";
    fs::create_directories(root / "Resources");
    for (const char* folder : {"Images", "Animations", "Archetypes", "Audio", "Shaders"})
        fs::create_directory_symlink(resources / folder, root / "Resources" / folder);
    for (const char* folder : {"Levels", "Scripts"})
        fs::copy(resources / folder, root / "Resources" / folder, fs::copy_options::recursive);
    fs::current_path(root);
}

}  // namespace EndToEnd

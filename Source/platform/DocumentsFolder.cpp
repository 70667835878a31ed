#include "platform/DocumentsFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace Platform {

namespace {
std::filesystem::path HomeFolder()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return std::filesystem::current_path();
}
}  // namespace

std::filesystem::path DocumentsFolder()
{
    std::filesystem::path folder;
    if (const char* documents = std::getenv("XDG_DOCUMENTS_DIR"); documents != nullptr && *documents != '\0')
        folder = documents;
    else
        folder = HomeFolder() / "Documents";
    std::error_code ignored;  // callers report a folder they cannot write to
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

}  // namespace Platform

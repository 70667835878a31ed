#include "TestSupport.h"

#include <fstream>
#include <sstream>

namespace TestSupport {

namespace {
std::filesystem::path gHome;
}

void SetTemporaryHome(const std::filesystem::path& home) { gHome = home; }

const std::filesystem::path& TemporaryHome() { return gHome; }

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    if (path.has_parent_path())
        std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace TestSupport

#include "data/GuardedRead.h"

#include <fstream>

namespace Engine {

bool ReadDocument(const std::filesystem::path& path, const char* missingLine, JsonReader& reader,
                  nlohmann::json& document)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(missingLine);
        return false;
    }
    return reader.Parse(in, document);
}

}  // namespace Engine

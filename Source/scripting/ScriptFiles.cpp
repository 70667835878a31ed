#include "scripting/ScriptFiles.h"

namespace Engine {

std::optional<std::string> ScriptFiles::PathOf(std::string_view name)
{
    if (name.empty() || name.find('\0') != std::string_view::npos)
        return std::nullopt;
    // Backslashes count as separators too: script text is written on Windows as well.
    if (name.front() == '/' || name.front() == '\\' || (name.size() > 1 && name[1] == ':'))
        return std::nullopt;
    for (std::size_t start = 0;;) {
        const std::size_t end = name.find_first_of("/\\", start);
        if (name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start) == "..")
            return std::nullopt;
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return std::string(Folder) + std::string(name);
}

}  // namespace Engine

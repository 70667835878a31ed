#include "graphics/GlSupport.h"

#include <epoxy/gl.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace Render {

bool NoGlError()
{
    bool clean = true;
    while (glGetError() != GL_NO_ERROR)
        clean = false;
    return clean;
}

std::optional<std::vector<char>> ReadWholeFile(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return std::nullopt;
    return bytes;
}

}  // namespace Render

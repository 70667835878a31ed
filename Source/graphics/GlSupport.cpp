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

unsigned int CompileShaderStage(unsigned int stage, const char* text, int length, std::string& why)
{
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE)
        return shader;
    GLchar info[1024] = {};
    glGetShaderInfoLog(shader, sizeof info, nullptr, info);
    why = info;
    glDeleteShader(shader);
    return 0;
}

bool LinkShaderProgram(unsigned int program, std::string& why)
{
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE)
        return true;
    GLchar info[1024] = {};
    glGetProgramInfoLog(program, sizeof info, nullptr, info);
    why = info;
    return false;
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

#include "graphics/ShaderPrograms.h"

#include "core/Log.h"
#include "graphics/FrameConstants.h"
#include "graphics/GlSupport.h"

#include <epoxy/gl.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* VertexShaderFile = "VertexShader.vert.glsl";
constexpr const char* PixelShaderFile = "PixelShader.frag.glsl";
constexpr const char* PixelShader2File = "PixelShader2.frag.glsl";
constexpr const char* InstanceBlockName = "SpriteInstanceBlock";
constexpr const char* FrameBlockName = "FrameConstantsBlock";

// Binds the program's uniform block of this name and size; false when it has no such block.
bool BindBlock(unsigned int program, const char* name, std::size_t bytes, unsigned int binding)
{
    const GLuint block = glGetUniformBlockIndex(program, name);
    GLint blockSize = 0;
    if (block != GL_INVALID_INDEX)
        glGetActiveUniformBlockiv(program, block, GL_UNIFORM_BLOCK_DATA_SIZE, &blockSize);
    if (block == GL_INVALID_INDEX || blockSize != static_cast<GLint>(bytes)) {
        LogError("Vertex shader has no uniform block {} of {} bytes", name, bytes);
        return false;
    }
    glUniformBlockBinding(program, block, binding);
    return true;
}

}  // namespace

bool ShaderPrograms::Build(const std::filesystem::path& folder)
{
    vertexShader = CompileStage(folder, GL_VERTEX_SHADER, VertexShaderFile, "Failed to initialize vertex shader!");
    if (vertexShader == 0)
        return false;
    pixelShader = CompileStage(folder, GL_FRAGMENT_SHADER, PixelShaderFile, "Failed to initialize pixel shader!");
    if (pixelShader == 0)
        return false;
    pixelShader2 = CompileStage(folder, GL_FRAGMENT_SHADER, PixelShader2File, "Failed to initialize pixel shader 2!");
    if (pixelShader2 == 0)
        return false;
    spriteProgram = LinkProgram(pixelShader, "Failed to initialize pixel shader!");
    if (spriteProgram == 0)
        return false;
    fallbackProgram = LinkProgram(pixelShader2, "Failed to initialize pixel shader 2!");
    if (fallbackProgram == 0)
        return false;
    glUseProgram(spriteProgram);
    return true;
}

void ShaderPrograms::Release()
{
    glDeleteProgram(fallbackProgram);
    glDeleteProgram(spriteProgram);
    glDeleteShader(pixelShader2);
    glDeleteShader(pixelShader);
    glDeleteShader(vertexShader);
    fallbackProgram = spriteProgram = pixelShader2 = pixelShader = vertexShader = 0;
}

unsigned int ShaderPrograms::CompileStage(const std::filesystem::path& folder, unsigned int stage, const char* fileName,
                                          const char* failureMessage)
{
    const std::filesystem::path path = folder / fileName;
    const std::optional<std::vector<char>> source = Render::ReadWholeFile(path);
    if (!source || source->empty()) {
        LogError("Shader file {} could not be read", path.string());
        LogError(failureMessage);
        return 0;
    }
    std::string why;
    const GLuint shader = Render::CompileShaderStage(stage, source->data(), static_cast<int>(source->size()), why);
    if (shader == 0) {
        LogError("Shader {} did not compile: {}", path.string(), why);
        LogError(failureMessage);
        return 0;
    }
    return shader;
}

unsigned int ShaderPrograms::LinkProgram(unsigned int pixelStage, const char* failureMessage)
{
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, pixelStage);
    // The vertex layout: POSITION float2 at byte 0, COLOR float4 at 8, TEXCOORD float2 at 24.
    glBindAttribLocation(program, 0, "POSITION");
    glBindAttribLocation(program, 1, "COLOR");
    glBindAttribLocation(program, 2, "TEXCOORD");
    glBindAttribLocation(program, SpriteCopyAttribute, "SPRITE");
    std::string why;
    if (!Render::LinkShaderProgram(program, why)) {
        LogError("Shader program did not link: {}", why);
        LogError(failureMessage);
        glDeleteProgram(program);
        return 0;
    }
    if (!BindBlock(program, InstanceBlockName, BatchCapacity * sizeof(SpriteInstance), InstanceBlockBinding) ||
        !BindBlock(program, FrameBlockName, sizeof(FrameConstants), FrameBlockBinding)) {
        LogError("Failed to initialize vertex shader!");
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "image"), 0);  // texture unit 0, sampler 0
    return program;
}

#include "graphics/LetterboxCopy.h"

#include "core/Log.h"
#include "graphics/GlSupport.h"

#include <epoxy/gl.h>

#include <string>

namespace {

// One triangle twice the viewport's size covers it, its corners made from the vertex
// number so that no buffer is needed; each pixel samples the target at its own centre's place
// in the rectangle. A rectangle of two triangles would round the places along its diagonal
// differently from the driver's blit, by one step in a few pixels.
constexpr const char* VertexSource = R"(#version 330 core
out vec2 place;
void main()
{
    vec2 corner = vec2(float((gl_VertexID & 1) * 2), float((gl_VertexID >> 1) * 2));
    place = corner;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

constexpr const char* FragmentSource = R"(#version 330 core
in vec2 place;
uniform sampler2D target;
out vec4 colour;
void main()
{
    colour = texture(target, place);
}
)";

GLuint CompileStage(GLenum stage, const char* source)
{
    std::string why;
    const GLuint shader = Render::CompileShaderStage(stage, source, -1, why);
    if (shader == 0)
        LogError("The letterbox's shader did not compile: {}", why);
    return shader;
}

}  // namespace

bool LetterboxCopy::Create()
{
    const GLuint vertexStage = CompileStage(GL_VERTEX_SHADER, VertexSource);
    const GLuint fragmentStage = vertexStage != 0 ? CompileStage(GL_FRAGMENT_SHADER, FragmentSource) : 0;
    if (fragmentStage != 0) {
        program = glCreateProgram();
        glAttachShader(program, vertexStage);
        glAttachShader(program, fragmentStage);
        std::string why;
        if (!Render::LinkShaderProgram(program, why)) {
            LogError("The letterbox's program did not link: {}", why);
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(vertexStage);  // the program keeps what it needs
    glDeleteShader(fragmentStage);
    if (program == 0)
        return false;
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "target"), 0);
    glUseProgram(static_cast<GLuint>(current));
    glGenVertexArrays(1, &vertexArray);
    return true;
}

void LetterboxCopy::Release()
{
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteProgram(program);
    vertexArray = program = 0;
}

void LetterboxCopy::Draw(unsigned int texture, int left, int bottom, int width, int height) const
{
    GLint viewport[4] = {};
    GLint currentProgram = 0;
    GLint currentArray = 0;
    GLint activeUnit = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_CURRENT_PROGRAM, &currentProgram);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &currentArray);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glActiveTexture(GL_TEXTURE0);
    GLint currentTexture = 0;
    GLint currentSampler = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &currentTexture);
    glGetIntegerv(GL_SAMPLER_BINDING, &currentSampler);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    const GLboolean blending = glIsEnabled(GL_BLEND);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glViewport(left, bottom, width, height);
    glUseProgram(program);
    glBindVertexArray(vertexArray);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindSampler(0, 0);  // the texture's own linear, clamped filtering
    glDrawArrays(GL_TRIANGLES, 0, 3);

    glBindSampler(0, static_cast<GLuint>(currentSampler));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(currentTexture));
    glActiveTexture(static_cast<GLenum>(activeUnit));
    glBindVertexArray(static_cast<GLuint>(currentArray));
    glUseProgram(static_cast<GLuint>(currentProgram));
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    depthTest ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
    culling ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    blending ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    scissor ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
}

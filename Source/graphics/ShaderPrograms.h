// ShaderPrograms: the renderer's three shader stages from their GLSL files and the two
// programs made of them, one that tints the image with the sprite colour and one that draws
// the fallback image as it is. Graphics builds them at start-up; the sprite pass draws with them.
#pragma once

#include <filesystem>

class ShaderPrograms {
public:
    unsigned int vertexShader = 0;
    unsigned int pixelShader = 0;
    unsigned int pixelShader2 = 0;
    unsigned int spriteProgram = 0;    // vertexShader + pixelShader: texture x sprite colour
    unsigned int fallbackProgram = 0;  // vertexShader + pixelShader2: the image untinted

    // Compiles the files of the folder and links the programs, in that order; the first
    // failure logs the stage's line and ends it with false.
    bool Build(const std::filesystem::path& folder);
    // Deletes the programs and then the stages; the renderer's context must be current.
    void Release();

private:
    unsigned int CompileStage(const std::filesystem::path& folder, unsigned int stage, const char* fileName,
                              const char* failureMessage);
    unsigned int LinkProgram(unsigned int pixelStage, const char* failureMessage);
};

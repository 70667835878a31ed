// LetterboxCopy: shows the world's target on the window, scaled into the letterbox with
// linear filtering, by drawing it as one textured rectangle with a small program of its own.
// RenderDevice makes it with the target and calls it at the end of each frame drawn there.
#pragma once

class LetterboxCopy {
public:
    // Builds the program and its empty vertex array; false (with a log line) when the
    // driver refuses them, and the caller copies some other way.
    bool Create();
    void Release();
    bool IsReady() const { return program != 0; }

    // Draws texture (the target's colour) over the window's pixels left, bottom, width x
    // height, exactly as a linear blit of the whole texture there would, and puts back every
    // piece of pipeline state it changes.
    void Draw(unsigned int texture, int left, int bottom, int width, int height) const;

private:
    unsigned int program = 0;
    unsigned int vertexArray = 0;
};

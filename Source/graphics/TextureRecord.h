// TextureRecord: one image of the renderer's texture list, found by its file name. The
// texture list makes one per readable image at start-up, gives it its pixels before it is
// first drawn, and deletes them at shutdown, while the renderer's context is current.
#pragma once

#include "graphics/DecodedImage.h"

#include <string>

struct TextureRecord {
    TextureRecord(unsigned int texture, std::string fileName, int pixelsWide, int pixelsHigh);
    ~TextureRecord();
    TextureRecord(TextureRecord&& other) noexcept;
    TextureRecord& operator=(TextureRecord&& other) noexcept;
    TextureRecord(const TextureRecord&) = delete;
    TextureRecord& operator=(const TextureRecord&) = delete;

    unsigned int view = 0;      // the OpenGL texture, owned
    std::string name;           // file name with extension, without the folder
    bool usePixelShader = true; // drawn with the tinting pixel shader; false: the fallback one
    int width = 0;              // in pixels
    int height = 0;
    // Until set the texture holds only its full-size level, which is all a texture drawn at
    // or above its own size ever samples; the texture list builds the smaller levels before
    // the first draw that shrinks it.
    bool hasMipmaps = false;
    // An image of one colour is drawn shrunk without waiting for its smaller levels: they are
    // all that colour, so the full-size level alone gives the same pixels.
    bool oneColour = false;
    // Which texels can be seen (Render::AlphaCover), from the decoded image.
    Render::AlphaCover cover;
    // The decoded image until the texture takes it, at its first draw or on a later quiet
    // frame (TextureList::Upload); empty from then on.
    Render::DecodedImage pendingPixels;
};

// Render::DecodedImage: one image file read and decoded into RGBA pixels, or why it gave none.
// The image decoder makes them on its threads; the texture list keeps each until its texture
// takes the pixels.
#pragma once

#include <string>

namespace Render {

// Where an image's texels can be seen at all: the box of the texels whose alpha is above 0
// (texel columns and rows from the top-left, half-open; empty when every texel is clear),
// and whether every texel is fully opaque. The renderer skips the pixels a draw would drop.
struct AlphaCover {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool opaque = false;

    bool Empty() const { return right <= left || bottom <= top; }
};

struct DecodedImage {
    DecodedImage() = default;
    ~DecodedImage();
    DecodedImage(DecodedImage&& other) noexcept;
    DecodedImage& operator=(DecodedImage&& other) noexcept;
    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

    unsigned char* pixels = nullptr;  // RGBA, top row first; null when the file gave no image
    int width = 0;
    int height = 0;
    bool oneColour = false;   // every pixel holds the same RGBA value
    AlphaCover cover;
    bool unreadable = false;  // the file could not be read at all
    std::string error;        // why a readable file gave no image
};

}  // namespace Render

// Render::DecodedImage: one image file read and decoded into RGBA pixels, or why it gave none.
// The image decoder makes them on its threads; the texture list keeps each until its texture
// takes the pixels.
#pragma once

#include <string>

namespace Render {

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
    bool unreadable = false;  // the file could not be read at all
    std::string error;        // why a readable file gave no image
};

}  // namespace Render

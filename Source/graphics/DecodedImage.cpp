#include "graphics/DecodedImage.h"

#include <stb_image.h>

#include <utility>

namespace Render {

DecodedImage::~DecodedImage() { stbi_image_free(pixels); }

DecodedImage::DecodedImage(DecodedImage&& other) noexcept
    : pixels(std::exchange(other.pixels, nullptr)), width(other.width), height(other.height),
      oneColour(other.oneColour), cover(other.cover), unreadable(other.unreadable), error(std::move(other.error))
{
}

DecodedImage& DecodedImage::operator=(DecodedImage&& other) noexcept
{
    if (this != &other) {
        stbi_image_free(pixels);
        pixels = std::exchange(other.pixels, nullptr);
        width = other.width;
        height = other.height;
        oneColour = other.oneColour;
        cover = other.cover;
        unreadable = other.unreadable;
        error = std::move(other.error);
    }
    return *this;
}

}  // namespace Render

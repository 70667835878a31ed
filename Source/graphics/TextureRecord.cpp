#include "graphics/TextureRecord.h"

#include <epoxy/gl.h>

#include <utility>

TextureRecord::TextureRecord(unsigned int texture, std::string fileName, int pixelsWide, int pixelsHigh)
    : view(texture), name(std::move(fileName)), width(pixelsWide), height(pixelsHigh)
{
}

TextureRecord::~TextureRecord()
{
    if (view != 0)
        glDeleteTextures(1, &view);
}

TextureRecord::TextureRecord(TextureRecord&& other) noexcept
    : view(std::exchange(other.view, 0)),
      name(std::move(other.name)),
      usePixelShader(other.usePixelShader),
      width(other.width),
      height(other.height),
      hasMipmaps(other.hasMipmaps),
      oneColour(other.oneColour),
      cover(other.cover),
      pendingPixels(std::move(other.pendingPixels))
{
}

TextureRecord& TextureRecord::operator=(TextureRecord&& other) noexcept
{
    if (this != &other) {
        if (view != 0)
            glDeleteTextures(1, &view);
        view = std::exchange(other.view, 0);
        name = std::move(other.name);
        usePixelShader = other.usePixelShader;
        width = other.width;
        height = other.height;
        hasMipmaps = other.hasMipmaps;
        oneColour = other.oneColour;
        cover = other.cover;
        pendingPixels = std::move(other.pendingPixels);
    }
    return *this;
}

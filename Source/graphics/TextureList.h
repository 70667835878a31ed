// TextureList: the renderer's images, one record per readable file of the image folder in
// file-name order, found by file name, with "debug.png" as the fallback. Graphics loads it at
// start-up; the sprite pass asks it for the texture of each draw, which is uploaded then if
// the frames after start-up have not uploaded it yet.
#pragma once

#include "graphics/TextureRecord.h"

namespace Render {
class ImageDecoder;
}

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

class TextureList {
public:
    std::vector<TextureRecord> records;
    std::uint32_t debugTextureIndex = 0;      // the record named "debug.png"
    std::vector<std::string> expectedImages;  // images the game names that were not loaded

    // The names of every image the game's content names.
    void BuildExpectedImageList();
    // Reads every entry of the folder in file-name order. An entry that cannot be read or
    // decoded, or is larger than OpenGL takes, is logged by name and left out, so drawing it
    // draws the debug image; false only when the folder itself cannot be listed. The pixels
    // wait in the records (TextureRecord::pendingPixels) for their first draw or UploadPending.
    bool Load(const std::filesystem::path& folder);
    // Load with a decoder the caller started earlier, over its folder.
    bool Load(Render::ImageDecoder& images);
    // Deletes every texture; the renderer's context must be current.
    void Clear();

    // The texture drawn for an image name: the first record of that name, or the fallback
    // ("debug.png", else the first image) with usePixelShader false; null without images.
    const TextureRecord* Find(const std::string& name, bool& usePixelShader) const;
    // Find, with the record's pixels in its texture; null only when not even the fallback has them.
    TextureRecord* FindForDraw(const std::string& name, bool& usePixelShader);
    // Gives up to count more records, in file-name order, their pixels; the renderer calls it
    // after each presented frame, so every image is uploaded a moment after start-up.
    void UploadPending(std::size_t count);

    // Called before a draw that shows texelsPerPixel texels of the record per target pixel
    // along its more shrunk axis: builds the smaller levels the first time that may be more
    // than one (never for an image of one colour), so what is drawn is what a fully mipmapped
    // texture gives. axisAligned: the draw is not rotated, so texelsPerPixel is exactly what
    // the sampler measures.
    void PrepareForDraw(TextureRecord& record, float texelsPerPixel, bool axisAligned);
    // Whether a draw at this many texels per pixel may read the smaller levels at all: up to
    // one texel per pixel the sampler magnifies from the full-size level, and a rotated draw
    // may be measured up to a factor of the square root of two larger by the driver.
    static bool ReadsSmallerLevels(float texelsPerPixel, bool axisAligned);
    // Builds the smaller levels of up to count more records, as draws that shrink them would;
    // the game itself leaves them to those draws (PrepareForDraw).
    void BuildPendingMipmaps(std::size_t count);

private:
    // False when OpenGL refused the pixels: that is logged, and the name then finds the fallback.
    bool Upload(TextureRecord& record);
    void BuildMipmaps(TextureRecord& record);

    std::filesystem::path imageFolder;  // of the last Load, for the log
    std::unordered_map<std::string, std::size_t> indexByName;  // first record of each name
    std::size_t nextPending = 0;  // records before this one have their mipmaps
    std::size_t nextUpload = 0;   // records before this one have their pixels uploaded
};

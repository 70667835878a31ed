// Render::DecodeImages: reads and decodes the texture list's image files on a few threads at
// start-up. Nothing is logged here: each image keeps the lines it would have logged, so the
// texture list logs them in file-name order, exactly as when it decoded one image at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

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
    bool unreadable = false;  // the file could not be read at all
    std::string error;        // why a readable file gave no image
};

// Reads and decodes every path, each on exactly one thread, and hands the images to consume
// on the calling thread in the order of the paths, each as soon as it and those before it are
// decoded, so the caller uploads one image while later ones are still being decoded.
void DecodeImages(const std::vector<std::filesystem::path>& paths,
                  const std::function<void(std::size_t index, DecodedImage& image)>& consume);

}  // namespace Render

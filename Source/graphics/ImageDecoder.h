// Render::ImageDecoder: lists an image folder in file-name order and decodes its files on a few
// threads from the moment it is made, so the game can start it before anything else and the
// texture list takes the images, in order, when the renderer starts. Nothing is logged here:
// the texture list logs each file's lines in file-name order, as if it had read them itself.
#pragma once

#include "graphics/DecodedImage.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Render {

class ImageDecoder {
public:
    explicit ImageDecoder(std::filesystem::path folder);
    // Lets a file being decoded finish, starts no other, and waits for the threads.
    ~ImageDecoder();

    ImageDecoder(const ImageDecoder&) = delete;
    ImageDecoder& operator=(const ImageDecoder&) = delete;

    const std::filesystem::path& Folder() const { return folder; }
    // Why the folder could not be listed; empty when it was, and then every entry is decoded.
    const std::string& ListingError() const { return listingError; }
    // The folder's entries, file names without the folder, in file-name order.
    const std::vector<std::filesystem::path>& FileNames() const { return fileNames; }

    // Entry index's image once it is decoded; each entry is handed over once.
    DecodedImage Take(std::size_t index);

private:
    void DecodeNext();

    std::filesystem::path folder;
    std::string listingError;
    std::vector<std::filesystem::path> fileNames;
    std::vector<DecodedImage> images;   // guarded by lock
    std::vector<char> decoded;          // guarded by lock: images[i] is ready
    std::mutex lock;
    std::condition_variable ready;
    std::atomic<std::size_t> next{0};   // the next entry a thread takes
    std::atomic<bool> stopping{false};
    std::atomic<std::size_t> threadsStarted{0};
    std::atomic<std::size_t> threadsDone{0};  // the last one to finish gives back freed pages
    std::vector<std::thread> threads;
};

}  // namespace Render

#include "graphics/ImageDecoder.h"

#include "graphics/GlSupport.h"

#include <fmt/format.h>
#include <stb_image.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace Render {

namespace {

// Enough to hide the largest images' decoding behind one another; more only crowd the machine.
constexpr unsigned MaxThreads = 6;

DecodedImage DecodeFile(const std::filesystem::path& path)
{
    DecodedImage image;
    const std::optional<std::vector<char>> bytes = ReadWholeFile(path);
    if (!bytes) {
        image.unreadable = true;
        return image;
    }
    if (bytes->empty() || bytes->size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        image.error = fmt::format("Image {} is empty or too large to decode", path.string());
        return image;
    }
    int channels = 0;
    image.pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes->data()),
                                         static_cast<int>(bytes->size()), &image.width, &image.height, &channels, 4);
    // stb_image keeps its failure text per thread, so this is this file's reason.
    if (image.pixels == nullptr)
        image.error = fmt::format("Image {} could not be decoded: {}", path.string(), stbi_failure_reason());
    return image;
}

}  // namespace

DecodedImage::~DecodedImage() { stbi_image_free(pixels); }

DecodedImage::DecodedImage(DecodedImage&& other) noexcept
    : pixels(std::exchange(other.pixels, nullptr)), width(other.width), height(other.height),
      unreadable(other.unreadable), error(std::move(other.error))
{
}

DecodedImage& DecodedImage::operator=(DecodedImage&& other) noexcept
{
    if (this != &other) {
        stbi_image_free(pixels);
        pixels = std::exchange(other.pixels, nullptr);
        width = other.width;
        height = other.height;
        unreadable = other.unreadable;
        error = std::move(other.error);
    }
    return *this;
}

void DecodeImages(const std::vector<std::filesystem::path>& paths,
                  const std::function<void(std::size_t index, DecodedImage& image)>& consume)
{
    std::vector<DecodedImage> images(paths.size());
    std::vector<char> decoded(paths.size(), 0);  // guarded by lock
    std::mutex lock;
    std::condition_variable ready;
    std::atomic<std::size_t> next{0};
    const auto decodeNext = [&] {
        for (std::size_t index = next++; index < paths.size(); index = next++) {
            DecodedImage image = DecodeFile(paths[index]);
            const std::lock_guard<std::mutex> hold(lock);
            images[index] = std::move(image);
            decoded[index] = 1;
            ready.notify_all();
        }
    };
    const std::size_t helpers =
        std::min<std::size_t>({std::max(std::thread::hardware_concurrency(), 1u), MaxThreads, paths.size()});
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back(decodeNext);
        } catch (const std::system_error&) {
            break;
        }
    }
    if (threads.empty())
        decodeNext();  // no thread could start: the calling thread decodes them all first
    for (std::size_t index = 0; index < paths.size(); ++index) {
        DecodedImage image;
        {
            std::unique_lock<std::mutex> hold(lock);
            ready.wait(hold, [&] { return decoded[index] != 0; });
            image = std::move(images[index]);
        }
        consume(index, image);
    }
    for (std::thread& thread : threads)
        thread.join();
}

}  // namespace Render

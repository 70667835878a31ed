#include "graphics/ImageDecoder.h"

#include "graphics/GlSupport.h"
#include "platform/FreedPages.h"

#include <fmt/format.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>

namespace Render {

namespace {

// Enough to hide the largest images' decoding behind one another; more only crowd the machine.
constexpr unsigned MaxThreads = 6;

bool IsOneColour(const DecodedImage& image)
{
    const std::size_t bytes = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
    for (std::size_t at = 4; at < bytes; at += 4)
        if (std::memcmp(image.pixels + at, image.pixels, 4) != 0)
            return false;
    return true;
}

AlphaCover MeasureCover(const DecodedImage& image)
{
    AlphaCover cover{image.width, image.height, 0, 0, true};
    const unsigned char* alpha = image.pixels + 3;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x, alpha += 4) {
            if (*alpha != 255)
                cover.opaque = false;
            if (*alpha == 0)
                continue;
            cover.left = std::min(cover.left, x);
            cover.right = std::max(cover.right, x + 1);
            cover.top = std::min(cover.top, y);
            cover.bottom = std::max(cover.bottom, y + 1);
        }
    return cover;
}

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
    if (image.pixels == nullptr) {
        image.error = fmt::format("Image {} could not be decoded: {}", path.string(), stbi_failure_reason());
        return image;
    }
    image.oneColour = IsOneColour(image);
    image.cover = MeasureCover(image);
    return image;
}

}  // namespace

ImageDecoder::ImageDecoder(std::filesystem::path imageFolder) : folder(std::move(imageFolder))
{
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        fileNames.push_back(it->path().filename());
    if (error) {
        listingError = error.message();
        fileNames.clear();
        return;
    }
    std::sort(fileNames.begin(), fileNames.end());
    images.resize(fileNames.size());
    decoded.assign(fileNames.size(), 0);

    const std::size_t helpers =
        std::min<std::size_t>({std::max(std::thread::hardware_concurrency(), 1u), MaxThreads, fileNames.size()});
    for (std::size_t i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back(&ImageDecoder::DecodeNext, this);
            ++threadsStarted;
        } catch (const std::system_error&) {
            break;  // Take decodes what no thread will
        }
    }
}

ImageDecoder::~ImageDecoder()
{
    stopping = true;
    for (std::thread& thread : threads)
        thread.join();
}

void ImageDecoder::DecodeNext()
{
    for (std::size_t index = next++; index < fileNames.size() && !stopping; index = next++) {
        DecodedImage image = DecodeFile(folder / fileNames[index]);
        const std::lock_guard<std::mutex> hold(lock);
        images[index] = std::move(image);
        decoded[index] = 1;
        ready.notify_all();
    }
    // Decoding leaves its working buffers freed in these threads' heaps, resident until given
    // back; the last thread to finish does that, away from the game's own thread. (One that
    // finishes before the others have all started may find no last one: then it is left.)
    if (++threadsDone == threadsStarted.load())
        Platform::ReturnFreedPages();
}

DecodedImage ImageDecoder::Take(std::size_t index)
{
    if (index >= fileNames.size())
        return DecodedImage();
    if (threads.empty())
        return DecodeFile(folder / fileNames[index]);
    std::unique_lock<std::mutex> hold(lock);
    ready.wait(hold, [&] { return decoded[index] != 0; });
    return std::move(images[index]);
}

}  // namespace Render

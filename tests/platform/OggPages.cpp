#include "OggPages.h"

namespace SoundTests {

std::vector<std::string> OggPages(const std::string& data)
{
    std::vector<std::string> pages;
    for (std::size_t at = 0; at + 27 <= data.size();) {
        const auto segments = static_cast<unsigned char>(data[at + 26]);
        std::size_t size = 27 + segments;
        for (std::size_t i = 0; i < segments && at + 27 + i < data.size(); ++i)
            size += static_cast<unsigned char>(data[at + 27 + i]);
        pages.push_back(data.substr(at, size));
        at += size;
    }
    return pages;
}

}  // namespace SoundTests

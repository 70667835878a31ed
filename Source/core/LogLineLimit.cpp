#include "core/LogLineLimit.h"

#include <fmt/format.h>

namespace Engine::Logging {

spdlog::details::log_msg CutLongMessage(const spdlog::details::log_msg& message, std::string& storage)
{
    const std::size_t size = message.payload.size();
    if (size <= MaxMessageBytes)
        return message;

    std::size_t keep = MaxMessageBytes;
    // Back to the first byte of a character, so that the kept text stays valid UTF-8.
    while (keep > 0 && (static_cast<unsigned char>(message.payload[keep]) & 0xC0) == 0x80)
        --keep;
    storage.assign(message.payload.data(), keep);
    storage += fmt::format(" [... cut: the message had {} bytes]", size);

    spdlog::details::log_msg cut = message;
    cut.payload = spdlog::string_view_t(storage.data(), storage.size());
    return cut;
}

}  // namespace Engine::Logging

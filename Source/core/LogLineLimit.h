// Keeps one log line to a few KiB, so that a huge message (a script name of megabytes, logged
// every frame) cannot fill the disk. Engine::dist_sink cuts every message before its children
// see it; the cut is marked with the size the message had.
#pragma once

#include <spdlog/details/log_msg.h>

#include <cstddef>
#include <string>

namespace Engine::Logging {

inline constexpr std::size_t MaxMessageBytes = 4096;

// The message itself when it fits; otherwise a copy whose text, held in `storage`, is its first
// bytes (never half a UTF-8 character) followed by the mark.
spdlog::details::log_msg CutLongMessage(const spdlog::details::log_msg& message, std::string& storage);

}  // namespace Engine::Logging

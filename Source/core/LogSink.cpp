#include "core/LogSink.h"

#include <spdlog/pattern_formatter.h>

namespace Engine {

namespace {
// A plain pointer, set before main: no start-up order between files can find it half made.
constinit log_sink::LineHandler lineHandler = nullptr;
}  // namespace

void log_sink::SetLineHandler(LineHandler handler) { lineHandler = handler; }

log_sink::log_sink() : formatter(std::make_unique<spdlog::pattern_formatter>()) {}

void log_sink::log(const spdlog::details::log_msg& message)
{
    spdlog::memory_buf_t line;
    formatter->format(message, line);
    if (lineHandler != nullptr)
        lineHandler(std::string_view(line.data(), line.size()));
}

void log_sink::set_pattern(const std::string& pattern)
{
    formatter = std::make_unique<spdlog::pattern_formatter>(pattern);
}

void log_sink::set_formatter(std::unique_ptr<spdlog::formatter> sinkFormatter)
{
    formatter = std::move(sinkFormatter);
}

}  // namespace Engine

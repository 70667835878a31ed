// Engine::RepeatFilterSink: the library's filter of repeated lines, in front of the log file
// and the editor's log list (InitializeLogging sets it up). A line repeated back to back
// within the window is written once and followed, at the next other line, by the library's
// count of the skipped ones. Lines of another level never count as repeats, so an error
// cannot hide behind an info line of the same text.
#pragma once

#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/dup_filter_sink.h>

#include <chrono>

namespace Engine {

class RepeatFilterSink final : public spdlog::sinks::dup_filter_sink<spdlog::details::null_mutex> {
public:
    explicit RepeatFilterSink(std::chrono::milliseconds window) : dup_filter_sink(window) {}

protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        if (message.level != lastLevel)
            last_msg_time_ = {};  // the window is over: the line passes and flushes the count
        lastLevel = message.level;
        dup_filter_sink::sink_it_(message);
    }

private:
    spdlog::level::level_enum lastLevel = spdlog::level::off;
};

}  // namespace Engine

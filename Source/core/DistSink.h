// Engine::dist_sink: the one sink of the logger "default"; cuts an overlong line to size and
// hands every line to its child sinks (the log file, then the editor's log list, behind the
// filter of repeated lines) in the order they were added.
#pragma once

#include "core/LogLineLimit.h"

#include <spdlog/details/null_mutex.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/base_sink.h>

#include <memory>
#include <string>
#include <vector>

namespace Engine {

template <typename Mutex>
class dist_sink : public spdlog::sinks::base_sink<Mutex> {
public:
    void AddSink(std::shared_ptr<spdlog::sinks::sink> child) { children.push_back(std::move(child)); }

protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        const spdlog::details::log_msg line = Logging::CutLongMessage(message, cutText);
        for (const auto& child : children) {
            if (child->should_log(line.level))
                child->log(line);
        }
    }

    void flush_() override
    {
        for (const auto& child : children)
            child->flush();
    }

    // The logger's pattern is set on its one sink; every child must format lines the same way.
    void set_pattern_(const std::string& pattern) override
    {
        set_formatter_(std::make_unique<spdlog::pattern_formatter>(pattern));
    }

    void set_formatter_(std::unique_ptr<spdlog::formatter> sinkFormatter) override
    {
        for (const auto& child : children)
            child->set_formatter(sinkFormatter->clone());
        this->formatter_ = std::move(sinkFormatter);
    }

private:
    std::vector<std::shared_ptr<spdlog::sinks::sink>> children;
    std::string cutText;  // the text of the latest cut line; keeps its capacity
};

using dist_sink_st = dist_sink<spdlog::details::null_mutex>;

}  // namespace Engine

// Engine::dist_sink: the one sink of the logger "default"; hands every line to its child
// sinks (the log file, then the editor's log list) in the order they were added.
#pragma once

#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>

#include <memory>
#include <vector>

namespace Engine {

template <typename Mutex>
class dist_sink : public spdlog::sinks::base_sink<Mutex> {
public:
    void AddSink(std::shared_ptr<spdlog::sinks::sink> child) { children.push_back(std::move(child)); }

protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        for (const auto& child : children) {
            if (child->should_log(message.level))
                child->log(message);
        }
    }

    void flush_() override
    {
        for (const auto& child : children)
            child->flush();
    }

private:
    std::vector<std::shared_ptr<spdlog::sinks::sink>> children;
};

using dist_sink_st = dist_sink<spdlog::details::null_mutex>;

}  // namespace Engine

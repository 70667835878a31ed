// Engine::log_sink: the child sink that appends every finished log line to the editor's
// log list (Engine::Editor::logLines), keeping only the newest lines there.
#pragma once

#include <spdlog/formatter.h>
#include <spdlog/sinks/sink.h>

#include <memory>

namespace Engine {

class log_sink final : public spdlog::sinks::sink {
public:
    log_sink();

    void log(const spdlog::details::log_msg& message) override;
    void flush() override {}
    void set_pattern(const std::string& pattern) override;
    void set_formatter(std::unique_ptr<spdlog::formatter> sinkFormatter) override;

private:
    std::unique_ptr<spdlog::formatter> formatter;
};

}  // namespace Engine

// Engine::log_sink: the child sink that hands every finished log line to the line handler,
// which the editor installs (editor/Editor.cpp) to keep the newest lines in its log list.
#pragma once

#include <spdlog/formatter.h>
#include <spdlog/sinks/sink.h>

#include <memory>
#include <string_view>

namespace Engine {

class log_sink final : public spdlog::sinks::sink {
public:
    // Receives each finished line, end-of-line included; lines before one is set are dropped.
    using LineHandler = void (*)(std::string_view line);
    static void SetLineHandler(LineHandler handler);

    log_sink();

    void log(const spdlog::details::log_msg& message) override;
    void flush() override {}
    void set_pattern(const std::string& pattern) override;
    void set_formatter(std::unique_ptr<spdlog::formatter> sinkFormatter) override;

private:
    std::unique_ptr<spdlog::formatter> formatter;
};

}  // namespace Engine

#include "core/LogSink.h"

#include "editor/Editor.h"

#include <spdlog/pattern_formatter.h>

namespace Engine {

log_sink::log_sink() : formatter(std::make_unique<spdlog::pattern_formatter>()) {}

void log_sink::log(const spdlog::details::log_msg& message)
{
    spdlog::memory_buf_t line;
    formatter->format(message, line);

    Editor& editor = Editor::Instance();
    // The log window shows only the newest lines; trimming here keeps a long run bounded.
    while (editor.logLines.size() >= Editor::MaxLogLines)
        editor.logLines.erase(editor.logLines.begin());
    editor.logLines.emplace_back(line.data(), line.size());
    editor.scrollLogToBottom = true;
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

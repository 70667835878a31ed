#include "core/Log.h"

#include "core/DistSink.h"
#include "core/LogSink.h"
#include "core/RepeatFilterSink.h"
#include "platform/DocumentsFolder.h"

#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {
constexpr const char* LoggerName = "default";
constexpr const char* LinePattern = "[%T] [%l] %v";

std::weak_ptr<Engine::RepeatFilterSink>& RepeatFilter()
{
    static std::weak_ptr<Engine::RepeatFilterSink> filter;
    return filter;
}
}  // namespace

void InitializeLogging(const Engine::Logging::Limits& limits)
{
    const std::filesystem::path folder = Platform::DocumentsFolder() / "logs";
    std::error_code ignored;  // an existing folder is fine; a failure shows when the file opens
    std::filesystem::create_directories(folder, ignored);

    // A log file that cannot be opened must not end the game: its lines go to standard error.
    std::string fileError;
    spdlog::sink_ptr file;
    try {
        // Appends to the log of earlier runs; past the size limit it moves on to log.1.txt.
        file = std::make_shared<spdlog::sinks::rotating_file_sink_st>((folder / "log.txt").string(), limits.fileBytes,
                                                                      limits.oldFiles);
    } catch (const spdlog::spdlog_ex& error) {
        fileError = error.what();
        file = std::make_shared<spdlog::sinks::stderr_sink_st>();
    }
    auto editorList = std::make_shared<Engine::log_sink>();

    auto distribution = std::make_shared<Engine::dist_sink_st>();
    if (limits.repeatWindow.count() > 0) {
        // A fault repeated every frame shows once in the file and in the editor's list.
        auto repeats = std::make_shared<Engine::RepeatFilterSink>(limits.repeatWindow);
        RepeatFilter() = repeats;
        repeats->AddSink(file);
        repeats->AddSink(editorList);
        distribution->AddSink(repeats);
    } else {
        RepeatFilter().reset();
        distribution->AddSink(file);
        distribution->AddSink(editorList);
    }

    spdlog::drop(LoggerName);
    auto logger = std::make_shared<spdlog::logger>(LoggerName, distribution);
    spdlog::register_logger(logger);
    spdlog::set_pattern(LinePattern);
    spdlog::set_level(spdlog::level::trace);
    if (!fileError.empty())
        LogError("{}; logging to the standard error stream instead", fileError);
}

void FlushLogAtExit()
{
    if (const auto filter = RepeatFilter().lock())
        filter->WriteHeldCounts();
    FlushLog();
}

void FlushLog()
{
    if (auto logger = spdlog::get(LoggerName))
        logger->flush();
}

namespace Engine::Logging {
std::shared_ptr<spdlog::logger> DefaultLogger()
{
    // Before InitializeLogging (tools, some tests) lines go to the library's console logger.
    if (auto logger = spdlog::get(LoggerName))
        return logger;
    return spdlog::default_logger();
}
}  // namespace Engine::Logging

void LogInfo(std::string_view message) { Engine::Logging::DefaultLogger()->info(message); }
void LogDebug(std::string_view message) { Engine::Logging::DefaultLogger()->debug(message); }
void LogWarn(std::string_view message) { Engine::Logging::DefaultLogger()->warn(message); }
void LogError(std::string_view message) { Engine::Logging::DefaultLogger()->error(message); }

// The engine's logging front end: every message goes to the logger "default", which fans
// each line out to Documents/logs/log.txt and to the editor's log list.
// InitializeLogging must run before the first line is logged (Game::Init does it first).
#pragma once

#include <spdlog/spdlog.h>

#include <chrono>
#include <cstddef>
#include <string_view>

namespace Engine::Logging {
// What keeps the log bounded in a run of any length; the defaults are the game's.
struct Limits {
    std::size_t fileBytes = 10 * 1024 * 1024;  // log.txt moves to log.1.txt past this
    std::size_t oldFiles = 3;                  // log.1.txt (newest) to log.3.txt are kept
    // A message text repeated within this (on the game clock) is written a few times, then
    // counted, and the count written when the window is over; zero writes every line.
    std::chrono::milliseconds repeatWindow{5000};
};
}  // namespace Engine::Logging

void InitializeLogging(const Engine::Logging::Limits& limits = {});

// Flushes the log file; the frame loop calls it once per frame.
void FlushLog();
// Writes the counts of repeated lines still held back, then flushes; main calls it once the
// frame loop has ended, so that no count is lost with the game.
void FlushLogAtExit();

namespace Engine::Logging {
// The logger "default"; looked up in the library's registry on every call.
std::shared_ptr<spdlog::logger> DefaultLogger();
}  // namespace Engine::Logging

// A plain or already built message is logged as it stands: braces are not interpreted.
void LogInfo(std::string_view message);
void LogDebug(std::string_view message);
void LogWarn(std::string_view message);
void LogError(std::string_view message);

// A message with "{}" placeholders, filled in with the arguments.
// Keys are passed as char so that they show as characters.
template <typename Arg, typename... Args>
void LogInfo(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args)
{
    Engine::Logging::DefaultLogger()->info(format, std::forward<Arg>(arg), std::forward<Args>(args)...);
}

template <typename Arg, typename... Args>
void LogDebug(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args)
{
    Engine::Logging::DefaultLogger()->debug(format, std::forward<Arg>(arg), std::forward<Args>(args)...);
}

template <typename Arg, typename... Args>
void LogWarn(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args)
{
    Engine::Logging::DefaultLogger()->warn(format, std::forward<Arg>(arg), std::forward<Args>(args)...);
}

template <typename Arg, typename... Args>
void LogError(fmt::format_string<Arg, Args...> format, Arg&& arg, Args&&... args)
{
    Engine::Logging::DefaultLogger()->error(format, std::forward<Arg>(arg), std::forward<Args>(args)...);
}

// Engine::RepeatFilterSink: the filter of repeated lines in front of the log file and the
// editor's log list (InitializeLogging sets it up). The first lines of a message text always
// pass; once a text has been written a few times within its window of a few seconds, further
// repeats are only counted, whatever other lines come between them, and the count is written
// as one line when the window is over. A text of another level never counts as a repeat, so
// an error cannot hide behind an info line of the same text. The windows run on the game
// clock (Engine::GameClock), which tests move by hand.
#pragma once

#include "core/GameClock.h"

#include <spdlog/details/null_mutex.h>
#include <spdlog/sinks/base_sink.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace Engine {

class RepeatFilterSink final : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
public:
    // Lines of one text written before its repeats are only counted.
    static constexpr int WrittenRepeats = 3;
    // Past this many texts within their windows, new texts pass without being followed.
    static constexpr std::size_t MaxFollowedTexts = 4096;

    explicit RepeatFilterSink(std::chrono::milliseconds window);

    void AddSink(std::shared_ptr<spdlog::sinks::sink> child) { children.push_back(std::move(child)); }

    // Writes every count still held back, its window over or not (the game is ending).
    void WriteHeldCounts();

protected:
    void sink_it_(const spdlog::details::log_msg& message) override;
    // Writes the counts of the windows that are over, then flushes the children.
    void flush_() override;
    // The children format lines as this sink is told to.
    void set_pattern_(const std::string& pattern) override;
    void set_formatter_(std::unique_ptr<spdlog::formatter> sinkFormatter) override;

private:
    struct Repeats {
        GameClock::TimePoint windowEnd;
        int written = 0;             // lines of the text written since it was first seen
        std::size_t seen = 0;        // repeats of the text in the current window
        std::size_t counted = 0;     // of those, the ones not written
        spdlog::level::level_enum level = spdlog::level::info;
        std::uint64_t order = 0;     // when the text was first seen, counted in texts
    };

    void Pass(const spdlog::details::log_msg& message);
    using Text = std::unordered_map<std::string, Repeats>::iterator;

    // The texts whose window is over at `now` (all of them without one), in the order they
    // first came. The list is this sink's own and is filled again by the next call.
    const std::vector<Text>& InOrder(const GameClock::TimePoint* now);
    void WriteCount(const std::string& text, Repeats& repeats);
    // Ends the text's window at `now`: its count is written, and a text that did not come
    // again in the window is forgotten (false).
    bool EndWindow(const std::string& key, Repeats& repeats, GameClock::TimePoint now);

    std::chrono::milliseconds window;
    std::unordered_map<std::string, Repeats> texts;  // key: the level, then the message text
    std::string key;  // the key of the latest line; keeps its capacity
    std::vector<Text> chosen;  // InOrder's list; keeps its capacity
    GameClock::TimePoint nextSweep{};
    std::uint64_t nextOrder = 0;
    std::vector<std::shared_ptr<spdlog::sinks::sink>> children;
};

}  // namespace Engine

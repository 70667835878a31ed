#include "core/RepeatFilterSink.h"

#include <fmt/format.h>
#include <spdlog/pattern_formatter.h>

#include <algorithm>
#include <mutex>

namespace Engine {

RepeatFilterSink::RepeatFilterSink(std::chrono::milliseconds repeatWindow) : window(repeatWindow) {}

void RepeatFilterSink::sink_it_(const spdlog::details::log_msg& message)
{
    const GameClock::TimePoint now = GameClock::Now();
    key.assign(1, static_cast<char>('0' + message.level));
    key.append(message.payload.data(), message.payload.size());

    auto found = texts.find(key);
    if (found != texts.end() && now >= found->second.windowEnd && !EndWindow(found->first, found->second, now)) {
        texts.erase(found);
        found = texts.end();
    }
    if (found == texts.end()) {
        if (texts.size() < MaxFollowedTexts)
            texts.emplace(key, Repeats{now + window, 1, 0, 0, message.level, nextOrder++});
        Pass(message);
        return;
    }
    Repeats& repeats = found->second;
    ++repeats.seen;
    if (repeats.written < WrittenRepeats) {
        ++repeats.written;
        Pass(message);
        return;
    }
    ++repeats.counted;
}

void RepeatFilterSink::flush_()
{
    const GameClock::TimePoint now = GameClock::Now();
    // Once a tenth of a window at most, so that a long list of texts is not walked every frame.
    if (now >= nextSweep) {
        nextSweep = now + window / 10;
        for (const Text& text : InOrder(&now)) {
            if (!EndWindow(text->first, text->second, now))
                texts.erase(text);
        }
    }
    for (const auto& child : children)
        child->flush();
}

void RepeatFilterSink::WriteHeldCounts()
{
    const std::lock_guard<spdlog::details::null_mutex> lock(mutex_);
    for (const Text& text : InOrder(nullptr))
        WriteCount(text->first, text->second);
}

const std::vector<RepeatFilterSink::Text>& RepeatFilterSink::InOrder(const GameClock::TimePoint* now)
{
    chosen.clear();
    for (auto text = texts.begin(); text != texts.end(); ++text) {
        if (now == nullptr || *now >= text->second.windowEnd)
            chosen.push_back(text);
    }
    std::sort(chosen.begin(), chosen.end(), [](const auto& a, const auto& b) { return a->second.order < b->second.order; });
    return chosen;
}

void RepeatFilterSink::WriteCount(const std::string& text, Repeats& repeats)
{
    if (repeats.counted == 0)
        return;
    const std::string count = fmt::format("\"{}\" repeated {} more times", std::string_view(text).substr(1), repeats.counted);
    Pass(spdlog::details::log_msg(spdlog::string_view_t{}, repeats.level, count));
    repeats.counted = 0;
}

bool RepeatFilterSink::EndWindow(const std::string& text, Repeats& repeats, GameClock::TimePoint now)
{
    WriteCount(text, repeats);
    const bool cameAgain = repeats.seen > 0;
    repeats.windowEnd = now + window;
    repeats.seen = 0;
    return cameAgain;
}

void RepeatFilterSink::set_pattern_(const std::string& pattern)
{
    set_formatter_(std::make_unique<spdlog::pattern_formatter>(pattern));
}

void RepeatFilterSink::set_formatter_(std::unique_ptr<spdlog::formatter> sinkFormatter)
{
    for (const auto& child : children)
        child->set_formatter(sinkFormatter->clone());
    formatter_ = std::move(sinkFormatter);
}

void RepeatFilterSink::Pass(const spdlog::details::log_msg& message)
{
    for (const auto& child : children) {
        if (child->should_log(message.level))
            child->log(message);
    }
}

}  // namespace Engine

// Engine::Editor: the in-game level editor, a singleton created by the first log line.
// For now it holds the log list that Engine::log_sink fills and the log window will show.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Engine {

class Editor {
public:
    static Editor& Instance();

    // One editor frame while the editor is open; the game update calls it after the world
    // would have run. The editor's windows and shortcuts do not exist yet: it does nothing.
    void RunFrame();

    // The log window shows this many of the newest lines; the list never holds more.
    static constexpr std::size_t MaxLogLines = 50;

    std::vector<std::string> logLines;  // finished lines, end-of-line included
    bool scrollLogToBottom = false;

    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

private:
    Editor();
};

}  // namespace Engine

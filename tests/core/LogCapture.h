// Reads back what the engine logged in this test process: the messages of the log file,
// without the time and level prefix. Tests call InitializeLogging() before anything logs.
#pragma once

#include "TestSupport.h"
#include "core/Log.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace CoreTest {

// Every message logged so far, oldest first ("[12:00:00] [info] Creating GameObject 0" -> "Creating GameObject 0").
inline std::vector<std::string> LoggedMessages()
{
    FlushLog();
    std::istringstream text(TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt"));
    std::vector<std::string> messages;
    for (std::string line; std::getline(text, line);) {
        // The message follows the first bracketed level name, whatever comes before it.
        std::size_t start = 0;
        std::size_t first = std::string::npos;
        for (const char* level : {"[trace] ", "[debug] ", "[info] ", "[warning] ", "[error] ", "[critical] "}) {
            const std::string token(level);
            const std::size_t at = line.find(token);
            if (at < first) {
                first = at;
                start = at + token.size();
            }
        }
        messages.push_back(line.substr(start));
    }
    return messages;
}

inline std::size_t CountLogged(const std::string& message)
{
    const std::vector<std::string> messages = LoggedMessages();
    return static_cast<std::size_t>(std::count(messages.begin(), messages.end(), message));
}

}  // namespace CoreTest

#include "ScriptFixture.h"

#include "TestSupport.h"
#include "core/Log.h"

#include <spdlog/sinks/base_sink.h>

#include <algorithm>
#include <mutex>

namespace ScriptTest {

namespace {
std::vector<LogLine> gLines;

class CaptureSink final : public spdlog::sinks::base_sink<spdlog::details::null_mutex> {
protected:
    void sink_it_(const spdlog::details::log_msg& message) override
    {
        gLines.push_back({message.level, std::string(message.payload.begin(), message.payload.end())});
    }
    void flush_() override {}
};
}  // namespace

std::vector<std::string>& Reports()
{
    static std::vector<std::string> reports;
    return reports;
}

void AddReportFunction(Engine::LuaState& lua)
{
    lua.SetFunction("Report", [](const std::string& text) { Reports().push_back(text); });
}

ScriptFolder::ScriptFolder(std::initializer_list<const char*> fixtures)
{
    InitializeLogging();
    Engine::Logging::DefaultLogger()->sinks().push_back(std::make_shared<CaptureSink>());
    gLines.clear();
    Reports().clear();

    static int folders = 0;
    root = TestSupport::TemporaryHome() / ("game" + std::to_string(folders++));
    const std::filesystem::path scripts = root / "Resources" / "Scripts";
    std::filesystem::create_directories(scripts);
    for (const char* fixture : fixtures)
        std::filesystem::copy(std::filesystem::path(VANTREL_TEST_DIR) / "scripting" / "fixtures" / fixture, scripts,
                              std::filesystem::copy_options::recursive);
    previousDirectory = std::filesystem::current_path();
    std::filesystem::current_path(root);
}

ScriptFolder::~ScriptFolder() { std::filesystem::current_path(previousDirectory); }

void ScriptFolder::Write(const std::string& fileName, const std::string& text) const
{
    TestSupport::WriteFile(root / "Resources" / "Scripts" / fileName, text);
}

const std::vector<LogLine>& ScriptFolder::Lines() const { return gLines; }

bool ScriptFolder::Logged(spdlog::level::level_enum level, const std::string& text) const
{
    return Count(level, text) > 0;
}

int ScriptFolder::Count(spdlog::level::level_enum level, const std::string& text) const
{
    return static_cast<int>(std::count_if(gLines.begin(), gLines.end(), [&](const LogLine& line) {
        return line.level == level && line.text == text;
    }));
}

}  // namespace ScriptTest

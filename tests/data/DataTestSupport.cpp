#include "DataTestSupport.h"

#include "TestSupport.h"

#include "core/GameObjectTable.h"
#include "core/Log.h"
#include "data/LevelManager.h"

#include <gtest/gtest.h>

#include <sstream>

namespace DataTest {

std::filesystem::path Fixture(const std::string& name)
{
    return std::filesystem::path(VANTREL_TEST_DIR) / "data" / "fixtures" / name;
}

std::filesystem::path Scratch()
{
    const std::filesystem::path folder = TestSupport::TemporaryHome() / "scratch";
    std::filesystem::create_directories(folder);
    return folder;
}

std::filesystem::path CopyFixture(const std::string& name)
{
    const std::filesystem::path copy = Scratch() / std::filesystem::path(name).filename();
    std::filesystem::copy_file(Fixture(name), copy, std::filesystem::copy_options::overwrite_existing);
    return copy;
}

void ListLevel(const std::string& name, const std::filesystem::path& path)
{
    Engine::LevelManager& levels = Engine::LevelManager::Instance();
    levels.levelNames.push_back(name);
    levels.levelPaths.push_back(path.string());
}

std::vector<std::string> LogLines()
{
    FlushLog();
    std::istringstream text(TestSupport::ReadFile(TestSupport::TemporaryHome() / "Documents" / "logs" / "log.txt"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> ErrorLines()
{
    std::vector<std::string> errors;
    for (std::string& line : LogLines()) {
        if (line.find("] [error] ") != std::string::npos)
            errors.push_back(std::move(line));
    }
    return errors;
}

std::vector<std::string> ObjectNames()
{
    Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    std::vector<std::string> names;
    for (std::uint32_t id = 0; id < Engine::MaxGameObjects; ++id) {
        if (const GameObject* object = table.Get(id)) {
            names.resize(id + 1);
            names[id] = object->name;
        }
    }
    return names;
}

std::uint32_t IdOf(const std::string& name)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().FindGameObject(name);
    EXPECT_NE(id, Engine::InvalidObjectId) << "no object " << name;
    return id;
}

}  // namespace DataTest

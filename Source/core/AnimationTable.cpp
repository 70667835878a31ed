#include "core/AnimationTable.h"

#include "core/Log.h"

#include <utility>

namespace Engine {

namespace {

// A plain pointer, set before the first frame: no start-up order between files can find it half made.
constinit AnimationTable::FileReader fileReader = nullptr;

}  // namespace

AnimationTable& AnimationTable::Instance()
{
    static AnimationTable table;
    return table;
}

void AnimationTable::InstallFileReader(FileReader reader) { fileReader = reader; }

void AnimationTable::ReadFile()
{
    if (fileReader != nullptr)
        fileReader();
}

void AnimationTable::Add(const std::string& name, AnimationData data)
{
    definitions.try_emplace(name, std::move(data));
    LogInfo("Registered Animation: {}", name);
}

const AnimationData& AnimationTable::Find(const std::string& handle) const
{
    static const AnimationData noCells;
    const auto found = definitions.find(handle);
    return found != definitions.end() ? found->second : noCells;
}

const AnimationData& AnimationTable::Definition(const std::string& handle)
{
    return definitions.try_emplace(handle).first->second;
}

}  // namespace Engine

// Test support: a Lua state prepared as the script manager prepares its own (libraries,
// engine types, Report), with one environment to run chunks of test code in.
#pragma once

#include "ScriptFixture.h"

#include "scripting/LuaEnvironment.h"
#include "scripting/LuaState.h"
#include "scripting/LuaTypes.h"

#include <cstddef>
#include <string>

namespace ScriptTest {

struct LuaSandbox {
    explicit LuaSandbox(std::size_t memoryCeiling = Engine::LuaState::MemoryCeiling) : lua(memoryCeiling)
    {
        lua.OpenLibraries();
        Engine::RegisterEngineTypes(lua);
        AddReportFunction(lua);
        environment = lua.NewEnvironment();
        Reports().clear();
    }

    // Runs the chunk; the error text when it raised, else an empty string.
    std::string Run(const std::string& chunk) const
    {
        const Engine::LuaCallResult result = environment.RunString(chunk, "=test");
        return result.status == Engine::LuaCallStatus::Done ? std::string() : result.error;
    }

    Engine::LuaState lua;
    Engine::LuaEnvironment environment;
};

}  // namespace ScriptTest

// Engine::LuaEnvironment: the table a script runs in. Its metatable's __index is the global
// table, so a script sees the global functions, types and libraries while the globals it
// defines stay its own. The script manager keeps one per loaded script.
#pragma once

#include "scripting/LuaRef.h"

#include <string>

namespace Engine {

enum class LuaCallStatus {
    Done,     // the function ran to its end
    Missing,  // the environment has no value of that name
    Failed,   // the call raised a Lua error; its text is in LuaCallResult::error
    OverBudget,  // the call ran past its instruction budget and was ended (error holds why)
    Stopped,     // a quit is pending: the call was ended early or not started
};

struct LuaCallResult {
    LuaCallStatus status = LuaCallStatus::Done;
    std::string error;
};

class LuaEnvironment {
public:
    LuaEnvironment() = default;
    explicit LuaEnvironment(LuaRef table) : ref(std::move(table)) {}

    // Makes a new environment over the global table of the state.
    static LuaEnvironment Create(lua_State* L);

    // Loads the file's text and runs it once with this table as its globals. A failure to
    // read, compile or run it is Failed, with the Lua error text (naming file and line).
    LuaCallResult RunFile(const std::string& path) const;
    // The same for a chunk held in memory, named chunkName in error texts.
    LuaCallResult RunString(const std::string& chunk, const std::string& chunkName) const;

    void SetInteger(const char* name, lua_Integer value) const;

    bool Alive() const { return ref.Alive(); }
    void Push() const { ref.Push(); }

private:
    // Runs the loaded chunk on top of the stack (or pops the load error) in this table.
    LuaCallResult RunLoaded(lua_State* L, int loadStatus) const;

    LuaRef ref;
};

}  // namespace Engine

// Engine::LuaCallBatch: runs many calls of one function name across script environments,
// each call given one integer global first (the script manager's queue: `main` with
// GameObject). The two names stay on the Lua stack for the whole batch, and so does the
// environment of the last call while calls of the same script follow each other; every
// call is its own protected call. Environments must outlive the batch.
#pragma once

#include "scripting/LuaEnvironment.h"

namespace Engine {

class LuaCallBatch {
public:
    LuaCallBatch(lua_State* L, const char* functionName, const char* integerName);
    ~LuaCallBatch();

    LuaCallBatch(const LuaCallBatch&) = delete;
    LuaCallBatch& operator=(const LuaCallBatch&) = delete;

    // Sets the integer global of the environment, then calls the environment's own function
    // (Missing when it has none).
    LuaCallResult Call(const LuaEnvironment& environment, lua_Integer value);

private:
    lua_State* L;
    int base;  // stack top before the batch; the two names sit just above it
    const LuaEnvironment* current = nullptr;  // the environment held at base + 3, if any
};

}  // namespace Engine

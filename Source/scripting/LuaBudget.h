// Engine::LuaBudget: the instruction budget of one entry into Lua (a script's load, a call
// of main, a timer's function). While it lives, a script that runs past the budget gets a
// Lua error at its next instruction, and again at every one after, so an endless loop (even
// one inside pcall) ends the call instead of freezing the game. The same hook ends the call
// within a few milliseconds once a quit is pending (Platform::QuitRequest). Entries hold one
// each, through ProtectedCall.
#pragma once

#include "scripting/LuaEnvironment.h"

#include <lua.hpp>

namespace Engine {

class LuaBudget {
public:
    // About a second of work for the interpreter; an ordinary script uses a tiny part of it.
    static constexpr int Instructions = 100'000'000;
    // The hook counts the budget down in slices of this many instructions (a few
    // milliseconds each) and looks for a pending quit at every one.
    static constexpr int SliceInstructions = 1'000'000;

    // Calls the function on top of the stack with no arguments and no results as a
    // protected call under a budget. Done, Failed, OverBudget or Stopped (a quit is pending:
    // the call ended early, or was not started and the function is popped).
    static LuaCallResult ProtectedCall(lua_State* L);

    // Starts the budget unless an outer entry's budget is already running on the state.
    explicit LuaBudget(lua_State* L);
    ~LuaBudget();

    LuaBudget(const LuaBudget&) = delete;
    LuaBudget& operator=(const LuaBudget&) = delete;

    enum class End { Running, Spent, Quit };

private:
    static void Tick(lua_State* L, lua_Debug*);

    lua_State* L;
    bool owner;             // false when nested inside another entry's budget
    int slicesLeft = Instructions / SliceInstructions;
    End end = End::Running;  // why the hook has been raising errors, if it has
    LuaBudget* outer = nullptr;  // the owning budget of an entry further out, on any state
    static LuaBudget* innermost;
};

}  // namespace Engine

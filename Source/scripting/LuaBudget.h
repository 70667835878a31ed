// Engine::LuaBudget: the instruction budget of one entry into Lua (a script's load, a call
// of main, a timer's function). While it lives, a script that runs past the budget gets a
// Lua error at its next instruction, and again at every one after, so an endless loop (even
// one inside pcall) ends the call instead of freezing the game. Entries hold one each.
#pragma once

#include <lua.hpp>

namespace Engine {

class LuaBudget {
public:
    // About a second of work for the interpreter; an ordinary script uses a tiny part of it.
    static constexpr int Instructions = 100'000'000;

    // Starts the budget unless an outer entry's budget is already running on the state.
    explicit LuaBudget(lua_State* L);
    ~LuaBudget();

    LuaBudget(const LuaBudget&) = delete;
    LuaBudget& operator=(const LuaBudget&) = delete;

private:
    lua_State* L;
    bool owner;  // false when nested inside another entry's budget
};

}  // namespace Engine

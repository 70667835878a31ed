#include "scripting/LuaBudget.h"

#include "platform/QuitRequest.h"
#include "scripting/LuaStack.h"

namespace Engine {

LuaBudget* LuaBudget::innermost = nullptr;

LuaCallResult LuaBudget::ProtectedCall(lua_State* L)
{
    if (Platform::QuitRequest::Pending()) {
        lua_pop(L, 1);
        return {LuaCallStatus::Stopped, {}};
    }
    const LuaBudget budget(L);
    if (lua_pcall(L, 0, 0, 0) == LUA_OK)
        return {};
    std::string error = LuaStack::PopErrorText(L);
    switch (budget.end) {
    case End::Spent:
        return {LuaCallStatus::OverBudget, std::move(error)};
    case End::Quit:
        return {LuaCallStatus::Stopped, std::move(error)};
    case End::Running:
        break;
    }
    return {LuaCallStatus::Failed, std::move(error)};
}

LuaBudget::LuaBudget(lua_State* state) : L(state), owner(lua_gethook(state) == nullptr)
{
    if (!owner)
        return;
    outer = innermost;
    innermost = this;
    lua_sethook(L, &Tick, LUA_MASKCOUNT, SliceInstructions);
}

LuaBudget::~LuaBudget()
{
    if (!owner)
        return;
    lua_sethook(L, nullptr, 0, 0);
    innermost = outer;
}

// Runs after every slice. Once the budget is spent or a quit is pending it raises in the
// running function and asks to run again after the very next instruction, so a script that
// catches the error with pcall is stopped again at once, up to the entry's own protected call.
void LuaBudget::Tick(lua_State* L, lua_Debug*)
{
    LuaBudget* budget = innermost;
    while (budget != nullptr && budget->L != L)
        budget = budget->outer;
    if (budget == nullptr)
        return;
    if (budget->end == End::Running) {
        if (Platform::QuitRequest::Pending())
            budget->end = End::Quit;
        else if (--budget->slicesLeft <= 0)
            budget->end = End::Spent;
        else
            return;
    }
    lua_sethook(L, &Tick, LUA_MASKCOUNT, 1);
    luaL_where(L, 0);
    if (budget->end == End::Spent)
        lua_pushfstring(L, "script ran past its budget of %d instructions (an endless loop?)", Instructions);
    else
        lua_pushstring(L, "script stopped: the game is quitting");
    lua_concat(L, 2);
    lua_error(L);
}

}  // namespace Engine

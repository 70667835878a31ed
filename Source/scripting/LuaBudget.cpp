#include "scripting/LuaBudget.h"

namespace Engine {

namespace {
// The count hook runs once the budget is spent. It raises in the running function and asks
// to run again after the very next instruction, so a script that catches the error with
// pcall is stopped again at once, up to the entry's own protected call.
void BudgetSpent(lua_State* L, lua_Debug*)
{
    lua_sethook(L, &BudgetSpent, LUA_MASKCOUNT, 1);
    luaL_where(L, 0);
    lua_pushfstring(L, "script ran past its budget of %d instructions (an endless loop?)", LuaBudget::Instructions);
    lua_concat(L, 2);
    lua_error(L);
}
}  // namespace

LuaBudget::LuaBudget(lua_State* state) : L(state), owner(lua_gethook(state) == nullptr)
{
    if (owner)
        lua_sethook(L, &BudgetSpent, LUA_MASKCOUNT, Instructions);
}

LuaBudget::~LuaBudget()
{
    if (owner)
        lua_sethook(L, nullptr, 0, 0);
}

}  // namespace Engine

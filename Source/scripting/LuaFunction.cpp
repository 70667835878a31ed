#include "scripting/LuaFunction.h"

#include "scripting/LuaBudget.h"

namespace Engine {

bool LuaFunction::Call(std::string* error) const
{
    // The lock keeps the state open even if the call itself replaces it.
    const std::shared_ptr<lua_State> state = ref.Lock();
    if (!state)
        return false;
    lua_State* L = ref.State();
    ref.Push();
    const LuaBudget budget(L);
    if (lua_pcall(L, 0, 0, 0) == LUA_OK)
        return true;
    std::string text = LuaStack::PopErrorText(L);
    if (error != nullptr)
        *error = std::move(text);
    return false;
}

}  // namespace Engine

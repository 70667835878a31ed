#include "scripting/LuaFunction.h"

#include "scripting/LuaBudget.h"

namespace Engine {

bool LuaFunction::Call(std::string* error) const
{
    LuaCallResult result = Run();
    if (result.status == LuaCallStatus::Done)
        return true;
    if (error != nullptr)
        *error = std::move(result.error);
    return false;
}

LuaCallResult LuaFunction::Run() const
{
    // The lock keeps the state open even if the call itself replaces it.
    const std::shared_ptr<lua_State> state = ref.Lock();
    if (!state)
        return {LuaCallStatus::Missing, {}};
    ref.Push();
    return LuaBudget::ProtectedCall(ref.State());
}

}  // namespace Engine

// Engine::LuaObjectId: a game-object id as a script passes it to the global functions. Any
// integral Lua number is taken as it is, never wrapped into 32 bits, so -1 (a failed
// GetGameObject) or 2^32 + 5 can never name a live object; only 0 to 16383 do.
#pragma once

#include "core/GameObjectTable.h"
#include "scripting/LuaStack.h"

#include <cstdint>
#include <limits>

namespace Engine {

struct LuaObjectId {
    lua_Integer value = 0;

    bool InTable() const { return value >= 0 && value < static_cast<lua_Integer>(MaxGameObjects); }
    // The slot to look in; ids outside the table become InvalidObjectId, which finds nothing.
    std::uint32_t Slot() const { return InTable() ? static_cast<std::uint32_t>(value) : InvalidObjectId; }
};

template <>
struct LuaValue<LuaObjectId> {
    static constexpr const char* Expected = "integer";
    static bool Get(lua_State* L, int index, LuaObjectId& out)
    {
        return LuaStack::ToIntegerIn(L, index, std::numeric_limits<lua_Integer>::min(),
                                     std::numeric_limits<lua_Integer>::max(), out.value);
    }
};

}  // namespace Engine

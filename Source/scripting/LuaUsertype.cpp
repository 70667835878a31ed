#include "scripting/LuaUsertype.h"

#include <cstdlib>
#include <cstring>

namespace Engine {

namespace {

const LuaUsertype& TypeOf(lua_State* L)
{
    return *static_cast<const LuaUsertype*>(lua_touserdata(L, lua_upvalueindex(1)));
}

// The first argument's block, once its metatable is this type's (held as upvalue 3).
void* Self(lua_State* L, const LuaUsertype& type)
{
    void* block = lua_touserdata(L, 1);
    bool matches = false;
    if (block != nullptr && lua_getmetatable(L, 1) != 0) {
        matches = lua_rawequal(L, -1, lua_upvalueindex(3)) != 0;
        lua_pop(L, 1);
    }
    if (!matches)
        luaL_error(L, "%s expected, got %s", type.name, LuaStack::TypeName(L, 1));
    return block;
}

// The field named by argument 2, or null for a name the type does not have.
const LuaField* FieldNamed(lua_State* L, const LuaUsertype& type)
{
    lua_pushvalue(L, 2);
    const bool known = lua_rawget(L, lua_upvalueindex(2)) == LUA_TNUMBER;
    const lua_Integer index = known ? lua_tointeger(L, -1) : 0;
    lua_pop(L, 1);
    return known ? &type.fields[static_cast<std::size_t>(index)] : nullptr;
}

const char* KeyText(lua_State* L)
{
    return lua_type(L, 2) == LUA_TSTRING ? lua_tostring(L, 2) : luaL_typename(L, 2);
}

int Index(lua_State* L)
{
    const LuaUsertype& type = TypeOf(L);
    void* block = Self(L, type);
    const LuaField* field = FieldNamed(L, type);
    if (field == nullptr) {
        lua_pushnil(L);  // unknown names read as nil, as for a table
        return 1;
    }
    field->read(L, type.resolve(L, block, type));
    return 1;
}

int NewIndex(lua_State* L)
{
    const LuaUsertype& type = TypeOf(L);
    void* block = Self(L, type);
    const LuaField* field = FieldNamed(L, type);
    if (field == nullptr)
        return luaL_error(L, "%s has no field '%s'", type.name, KeyText(L));
    if (field->write == nullptr)
        return luaL_error(L, "%s.%s is read-only", type.name, field->name);
    void* object = type.resolve(L, block, type);
    if (!field->write(L, object, 3)) {
        if (lua_type(L, 3) == LUA_TNUMBER && std::strcmp(field->expected, LuaValue<float>::Expected) == 0)
            return luaL_error(L, "%s.%s expects a finite number, got %f", type.name, field->name, lua_tonumber(L, 3));
        return luaL_error(L, "%s.%s expects a %s, got %s", type.name, field->name, field->expected,
                          LuaStack::TypeName(L, 3));
    }
    return 0;
}

}  // namespace

void RegisterUsertype(lua_State* L, const LuaUsertype& type)
{
    luaL_newmetatable(L, type.registryKey);
    const int metatable = lua_gettop(L);
    lua_pushstring(L, type.name);
    lua_setfield(L, metatable, "__name");
    // Scripts get false from getmetatable and cannot replace it: every object of the type shares it.
    lua_pushboolean(L, 0);
    lua_setfield(L, metatable, "__metatable");

    lua_createtable(L, 0, static_cast<int>(type.fields.size()));
    const int names = lua_gettop(L);
    for (std::size_t i = 0; i < type.fields.size(); ++i) {
        lua_pushinteger(L, static_cast<lua_Integer>(i));
        lua_setfield(L, names, type.fields[i].name);
    }

    for (const auto& [event, function] : {std::pair{"__index", &Index}, std::pair{"__newindex", &NewIndex}}) {
        lua_pushlightuserdata(L, const_cast<LuaUsertype*>(&type));
        lua_pushvalue(L, names);
        lua_pushvalue(L, metatable);
        lua_pushcclosure(L, function, 3);
        lua_setfield(L, metatable, event);
    }
    lua_settop(L, metatable - 1);

    if (lua_getglobal(L, type.name) != LUA_TTABLE) {
        lua_newtable(L);
        lua_setglobal(L, type.name);
    }
    lua_pop(L, 1);
}

void* ResolveValueObject(lua_State*, void* block, const LuaUsertype&) { return block; }

void ComponentGone(lua_State* L, const LuaUsertype& type, std::uint32_t objectId)
{
    luaL_error(L, "%s of game object %d no longer exists", type.name, static_cast<int>(objectId));
    std::abort();  // luaL_error does not return
}

}  // namespace Engine

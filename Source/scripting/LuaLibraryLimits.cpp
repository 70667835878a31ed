#include "scripting/LuaLibraryLimits.h"

#include "scripting/ScriptFiles.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace Engine {

namespace {

// Every wrapper below holds the library's own function as upvalue 1 and hands it the
// arguments on the stack once they have passed its checks.
int CallLibraryFunction(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    return lua_gettop(L);
}

// load(chunk, name, mode, env) and loadfile(name, mode, env) with the mode forced to "t".
template <int ModeArgument>
int WithTextMode(lua_State* L)
{
    lua_settop(L, lua_gettop(L) > ModeArgument ? lua_gettop(L) : ModeArgument);
    lua_pushliteral(L, "t");
    lua_replace(L, ModeArgument);
    return CallLibraryFunction(L);
}

// Raises the error of a name that could reach a file outside the scripts' folder. Only the
// name the script gave is quoted: nothing of the file is ever read.
[[noreturn]] void RefuseName(lua_State* L, const char* function, const char* name)
{
    luaL_error(L, "%s: '%s' is not a script file (names are relative to %s and hold no '..')", function, name,
               ScriptFiles::Folder);
    std::abort();  // luaL_error does not return
}

// Replaces argument 1, a name relative to the scripts' folder, by its path there. Without a
// name the base library would read standard input, where the game waits for ever.
void ArgumentToScriptPath(lua_State* L, const char* function)
{
    if (lua_type(L, 1) != LUA_TSTRING)
        luaL_error(L, "bad argument #1 to '%s' (file name expected, got %s)", function, luaL_typename(L, 1));
    std::size_t length = 0;
    const char* name = lua_tolstring(L, 1, &length);
    const std::optional<std::string> path = ScriptFiles::PathOf({name, length});
    if (!path)
        RefuseName(L, function, name);
    lua_pushlstring(L, path->data(), path->size());
    lua_replace(L, 1);
}

int LoadFile(lua_State* L)
{
    ArgumentToScriptPath(L, "loadfile");
    return WithTextMode<2>(L);
}

// dofile(name): runs the file's text and gives back what it returns.
int DoFile(lua_State* L)
{
    ArgumentToScriptPath(L, "dofile");
    lua_settop(L, 1);
    if (luaL_loadfilex(L, lua_tostring(L, 1), "t") != LUA_OK)
        return lua_error(L);
    lua_call(L, 0, LUA_MULTRET);
    return lua_gettop(L) - 1;
}

bool Readable(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

// package.searchpath(name, path) inside the scripts' folder: each template of path names a
// file relative to it, and one that could reach outside is an error, not a file tried.
// Pushes the path found, or nil and the list of the files tried.
int SearchScriptPath(lua_State* L)
{
    std::string name = luaL_checkstring(L, 1);
    const std::string templates = luaL_checkstring(L, 2);
    for (char& c : name)
        if (c == '.')
            c = '/';
    std::string tried;
    for (std::size_t start = 0; start <= templates.size();) {
        std::size_t end = templates.find(';', start);
        if (end == std::string::npos)
            end = templates.size();
        std::string candidate = templates.substr(start, end - start);
        start = end + 1;
        if (candidate.empty())
            continue;
        for (std::size_t mark = candidate.find('?'); mark != std::string::npos; mark = candidate.find('?', mark + name.size()))
            candidate.replace(mark, 1, name);
        const std::optional<std::string> path = ScriptFiles::PathOf(candidate);
        if (!path) {
            lua_pushstring(L, candidate.c_str());
            RefuseName(L, "require", lua_tostring(L, -1));
        }
        if (Readable(*path)) {
            lua_pushlstring(L, path->data(), path->size());
            return 1;
        }
        tried += "\n\tno file '" + *path + "'";
    }
    lua_pushnil(L);
    lua_pushlstring(L, tried.data(), tried.size());
    return 2;
}

// The module searcher for Lua files along package.path (upvalue 1 is the package table),
// as the package library's own but for text inside the scripts' folder only.
int SearchLuaText(lua_State* L)
{
    const char* name = luaL_checkstring(L, 1);
    lua_pushcfunction(L, &SearchScriptPath);
    lua_pushvalue(L, 1);
    if (lua_getfield(L, lua_upvalueindex(1), "path") != LUA_TSTRING)
        return luaL_error(L, "'package.path' must be a string");
    lua_call(L, 2, 2);
    if (lua_isnil(L, -2))
        return 1;  // the message of the paths tried
    lua_pop(L, 1);
    const char* fileName = lua_tostring(L, -1);
    if (luaL_loadfilex(L, fileName, "t") != LUA_OK)
        return luaL_error(L, "error loading module '%s' from file '%s':\n\t%s", name, fileName, lua_tostring(L, -1));
    lua_insert(L, -2);  // the loader, then the file name as its extra value
    return 2;
}

// setmetatable(t, mt) for a metatable without __gc (read raw, as Lua itself reads it).
int SetMetatableWithoutFinalizer(lua_State* L)
{
    if (lua_type(L, 2) == LUA_TTABLE) {
        lua_pushliteral(L, "__gc");
        if (lua_rawget(L, 2) != LUA_TNIL)
            return luaL_error(L, "bad argument #2 to 'setmetatable' (finalizers (__gc) are not available to scripts)");
        lua_pop(L, 1);
    }
    return CallLibraryFunction(L);
}

// The library loops in C, out of the budget's sight, once per copy even when there is
// nothing to copy: string.rep("", 2^40) would never end.
int RepeatString(lua_State* L)
{
    std::size_t length = 0;
    std::size_t separatorLength = 0;
    luaL_checklstring(L, 1, &length);
    luaL_checkinteger(L, 2);
    luaL_optlstring(L, 3, "", &separatorLength);
    if (length == 0 && separatorLength == 0) {
        lua_pushliteral(L, "");
        return 1;
    }
    return CallLibraryFunction(L);
}

// The same for table.move(a1, f, e, t, a2), which loops over the range even when the
// tables hold nothing there. No table within the memory ceiling holds more elements.
int MoveElements(lua_State* L)
{
    constexpr lua_Integer MostElements = lua_Integer{1} << 25;
    const lua_Integer first = luaL_checkinteger(L, 2);
    const lua_Integer last = luaL_checkinteger(L, 3);
    if (last >= first && (first < 0 ? last > first + MostElements - 1 : last - first >= MostElements))
        return luaL_error(L, "bad argument #3 to 'move' (more than %d elements to move)", static_cast<int>(MostElements));
    return CallLibraryFunction(L);
}

void WrapField(lua_State* L, int table, const char* name, lua_CFunction wrapper)
{
    lua_getfield(L, table, name);
    lua_pushcclosure(L, wrapper, 1);
    lua_setfield(L, table, name);
}

void WrapGlobal(lua_State* L, const char* name, lua_CFunction wrapper)
{
    lua_pushglobaltable(L);
    WrapField(L, lua_gettop(L), name, wrapper);
    lua_pop(L, 1);
}

void WrapLibraryField(lua_State* L, const char* library, const char* name, lua_CFunction wrapper)
{
    if (lua_getglobal(L, library) == LUA_TTABLE)
        WrapField(L, lua_gettop(L), name, wrapper);
    lua_pop(L, 1);
}

}  // namespace

void LimitLibrariesForScripts(lua_State* L)
{
    WrapGlobal(L, "setmetatable", &SetMetatableWithoutFinalizer);
    WrapGlobal(L, "load", &WithTextMode<3>);
    WrapGlobal(L, "loadfile", &LoadFile);
    WrapLibraryField(L, LUA_STRLIBNAME, "rep", &RepeatString);
    WrapLibraryField(L, LUA_TABLIBNAME, "move", &MoveElements);
    lua_pushcfunction(L, &DoFile);
    lua_setglobal(L, "dofile");

    if (lua_getglobal(L, LUA_LOADLIBNAME) == LUA_TTABLE) {
        const int package = lua_gettop(L);
        lua_pushnil(L);
        lua_setfield(L, package, "loadlib");
        // Module names are looked up inside the scripts' folder, and nowhere else.
        lua_pushliteral(L, "?.lua;?/init.lua");
        lua_setfield(L, package, "path");
        lua_pushcfunction(L, &SearchScriptPath);
        lua_setfield(L, package, "searchpath");
        // The preload searcher stays, the Lua one becomes text-only and the two C ones go.
        lua_createtable(L, 2, 0);
        const int searchers = lua_gettop(L);
        lua_getfield(L, package, "searchers");
        lua_rawgeti(L, -1, 1);
        lua_rawseti(L, searchers, 1);
        lua_pop(L, 1);
        lua_pushvalue(L, package);
        lua_pushcclosure(L, &SearchLuaText, 1);
        lua_rawseti(L, searchers, 2);
        lua_setfield(L, package, "searchers");
    }
    lua_pop(L, 1);
}

}  // namespace Engine

// Engine::ScriptCall: the callable of a key binding that queues one call of a script's main
// for object 0 (the player controller's keys, Lua's BindKey functions). Bindings made this
// way can be found again by their script: a held key whose script keeps running past its
// budget loses its binding (ScriptManager).
#pragma once

#include <string>

namespace Engine {

class ScriptManager;

struct ScriptCall {
    ScriptManager* scripts = nullptr;  // null: the registry's script manager at the call
    std::string handle;

    void operator()() const;
};

}  // namespace Engine

#include "scripting/ScriptCall.h"

#include "core/SystemManager.h"
#include "scripting/ScriptManager.h"

namespace Engine {

void ScriptCall::operator()() const
{
    ScriptManager* manager = scripts != nullptr ? scripts : GetSystem<ScriptManager>();
    manager->Queue(handle, 0);
}

}  // namespace Engine

// Engine::EventSet: the events an object answers, each mapped to the script handles that
// handle it, in order (a handle may stand several times). EventManager raises them.
#pragma once

#include "core/Component.h"

#include <map>
#include <string>
#include <vector>

namespace Engine {

struct EventSet : Component {
    static constexpr ComponentType Tag = ComponentType::EventSet;
    static constexpr const char* DisplayName = "struct Engine::EventSet";
    ComponentType GetType() const override { return Tag; }

    std::map<std::string, std::vector<std::string>> events;  // event name -> handler handles
};

}  // namespace Engine

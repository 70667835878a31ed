// Engine::EventManager (a system of the registry): home of the three event operations.
// Raising an event runs nothing at once: it queues one script call per handler on the
// script manager's run queue. Ids of 16384 or more change nothing.
#pragma once

#include "core/System.h"

#include <cstdint>
#include <string>

namespace Engine {

class EventManager : public System {
public:
    void Init() override;
    void Update() override;
    void Shutdown() override;

    // Appends the handler to the event's list, giving the object an EventSet first if needed.
    void AddEvent(std::uint32_t objectId, const std::string& eventName, const std::string& handlerName);
    // Queues every handler of the event, in list order.
    void TriggerEvent(std::uint32_t objectId, const std::string& eventName);
    // Removes the first entry equal to the handler; throws std::out_of_range for an event
    // name the object's set lacks (the Lua wrapper decides what follows).
    void UnRegisterEvent(std::uint32_t objectId, const std::string& eventName, const std::string& handlerName);
};

}  // namespace Engine

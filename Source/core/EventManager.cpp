#include "core/EventManager.h"

#include "core/ComponentStore.h"
#include "core/EventSet.h"
#include "core/ScriptQueue.h"

#include <algorithm>
#include <stdexcept>

namespace Engine {

void EventManager::Init() {}
void EventManager::Update() {}
void EventManager::Shutdown() {}

void EventManager::AddEvent(std::uint32_t objectId, const std::string& eventName, const std::string& handlerName)
{
    ComponentStore& store = ComponentStore::Instance();
    if (store.GetComponent<EventSet>(objectId) == nullptr)
        store.AddComponent<EventSet>(objectId);
    EventSet* set = store.GetComponent<EventSet>(objectId);
    if (set == nullptr)  // an id outside the table: the store refused the component
        return;
    set->events[eventName].push_back(handlerName);
}

void EventManager::TriggerEvent(std::uint32_t objectId, const std::string& eventName)
{
    const EventSet* set = ComponentStore::Instance().GetComponent<EventSet>(objectId);
    if (set == nullptr)
        return;
    const auto handlers = set->events.find(eventName);
    if (handlers == set->events.end())
        return;
    // Queueing only appends to the script manager's lists, so the handler list cannot
    // change under this loop.
    for (const std::string& handler : handlers->second)
        ScriptQueue::Queue(handler, objectId);
}

void EventManager::UnRegisterEvent(std::uint32_t objectId, const std::string& eventName, const std::string& handlerName)
{
    EventSet* set = ComponentStore::Instance().GetComponent<EventSet>(objectId);
    if (set == nullptr)
        return;
    const auto handlers = set->events.find(eventName);
    if (handlers == set->events.end())
        throw std::out_of_range("invalid map<K, T> key");
    std::vector<std::string>& list = handlers->second;
    const auto first = std::find(list.begin(), list.end(), handlerName);
    if (first != list.end())
        list.erase(first);
}

}  // namespace Engine

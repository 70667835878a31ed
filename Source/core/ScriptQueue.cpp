#include "core/ScriptQueue.h"

namespace Engine {

namespace {

// Plain pointers, set before main: no start-up order between files can find them half made.
constinit ScriptQueue::QueueRoute queueRoute = nullptr;
constinit ScriptQueue::KeyRoute keyRoute = nullptr;

}  // namespace

void ScriptQueue::Install(QueueRoute queue, KeyRoute key)
{
    queueRoute = queue;
    keyRoute = key;
}

void ScriptQueue::Queue(const std::string& handle, std::uint32_t objectId)
{
    if (queueRoute != nullptr)
        queueRoute(handle, objectId);
}

InputManager::KeyFunction ScriptQueue::KeyBinding(const char* handle)
{
    if (keyRoute != nullptr)
        return keyRoute(handle);
    return [] {};
}

}  // namespace Engine

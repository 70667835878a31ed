// Engine::ScriptQueue: how code below the scripting folder asks for a script to run. Raised
// events queue their handlers here and the player controller's keys are made here; the
// script manager installs both routes (scripting/ScriptManager.cpp) as the program starts.
#pragma once

#include "core/InputManager.h"

#include <cstdint>
#include <string>

namespace Engine {

class ScriptQueue {
public:
    using QueueRoute = void (*)(const std::string& handle, std::uint32_t objectId);
    using KeyRoute = InputManager::KeyFunction (*)(const char* handle);

    static void Install(QueueRoute queue, KeyRoute key);

    // Queues one call of the script's main for the object; nothing without a script manager.
    static void Queue(const std::string& handle, std::uint32_t objectId);
    // A key binding that queues the script for object 0 each time it runs.
    static InputManager::KeyFunction KeyBinding(const char* handle);
};

}  // namespace Engine

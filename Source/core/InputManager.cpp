#include "core/InputManager.h"

namespace Engine {

InputManager& InputManager::Instance()
{
    static InputManager manager;
    return manager;
}

// Bodies are filled in with the input manager's own work.
void InputManager::RegisterKeyDownFunction(std::uint8_t, KeyFunction) {}
void InputManager::RegisterKeyPressedFunction(std::uint8_t, KeyFunction) {}
void InputManager::RegisterKeyUpFunction(std::uint8_t, KeyFunction) {}
void InputManager::UnregisterKeyPressedFunction(std::uint8_t) {}
void InputManager::RunKeyDownFunctions() {}
void InputManager::KeyPressed(std::uint8_t) {}
void InputManager::KeyReleased(std::uint8_t) {}

}  // namespace Engine

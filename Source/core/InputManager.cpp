#include "core/InputManager.h"

#include "core/Log.h"
#include "platform/KeyNames.h"
#include "platform/Window.h"

#include <array>
#include <cstddef>

namespace Engine {

namespace {
// The window's pump hands every key it lets through to the input manager.
void KeyFromWindow(std::uint8_t key, bool down)
{
    InputManager& input = InputManager::Instance();
    if (down)
        input.KeyPressed(key);
    else
        input.KeyReleased(key);
}

struct KeyRoute {
    KeyRoute() { Window::RouteKeysTo(&KeyFromWindow); }
} const keyRoute;
}  // namespace

InputManager& InputManager::Instance()
{
    static InputManager manager;
    return manager;
}

void InputManager::RegisterKeyDownFunction(std::uint8_t key, KeyFunction function)
{
    LogInfo("Registered Key Down Function to {}", Platform::KeyName(key));
    NoteRegistered(keyDown, key, keyDown.emplace(key, std::move(function)).second);
}

void InputManager::RegisterKeyPressedFunction(std::uint8_t key, KeyFunction function)
{
    LogInfo("Registered Key Pressed Function to {}", Platform::KeyName(key));
    NoteRegistered(keyPressed, key, keyPressed.emplace(key, std::move(function)).second);
}

void InputManager::RegisterKeyUpFunction(std::uint8_t key, KeyFunction function)
{
    LogInfo("Registered Key Up Function to {}", Platform::KeyName(key));
    NoteRegistered(keyUp, key, keyUp.emplace(key, std::move(function)).second);
}

void InputManager::UnregisterKeyPressedFunction(std::uint8_t key)
{
    keyPressed.erase(key);
    editorBindings.erase({&keyPressed, key});
}

void InputManager::NoteRegistered(const std::map<std::uint8_t, KeyFunction>& bindings, std::uint8_t key, bool added)
{
    if (!added)
        return;
    if (editorBindingScopes > 0)
        editorBindings.emplace(&bindings, key);
    else
        editorBindings.erase({&bindings, key});  // a binding of the game's, where one was dropped
}

bool InputManager::MayRun(const std::map<std::uint8_t, KeyFunction>& bindings, std::uint8_t key) const
{
    if (!editorOpen && pressedInEditor.count(key) == 0)
        return true;
    return editorBindings.count({&bindings, key}) != 0;
}

void InputManager::RunKeyDownFunctions()
{
    // A binding may bind, unbind or release keys, so the walk goes over a snapshot of the held
    // keys (at most 256, kept on the stack) and looks each binding up afresh; a binding is copied
    // before it runs so that unbinding itself cannot destroy the callable while it runs.
    std::array<std::uint8_t, 256> keys;
    std::size_t count = 0;
    for (const std::uint8_t key : held)
        keys[count++] = key;
    for (std::size_t i = 0; i < count; ++i) {
        const auto binding = keyDown.find(keys[i]);
        if (binding == keyDown.end() || !MayRun(keyDown, keys[i]))
            continue;
        const KeyFunction function = binding->second;
        function();
    }
}

void InputManager::KeyPressed(std::uint8_t key)
{
    const bool newPress = held.insert(key).second;  // auto-repeat arrives with the key held
    if (!newPress)
        return;
    if (editorOpen)
        pressedInEditor.insert(key);
    const auto binding = keyPressed.find(key);
    if (binding == keyPressed.end() || !MayRun(keyPressed, key))
        return;
    const KeyFunction function = binding->second;
    function();
    LogInfo("Running Key Pressed Function {}", Platform::KeyName(key));
}

void InputManager::KeyReleased(std::uint8_t key)
{
    held.erase(key);
    const bool mayRun = MayRun(keyUp, key);
    pressedInEditor.erase(key);
    const auto binding = keyUp.find(key);
    if (binding == keyUp.end() || !mayRun)
        return;
    const KeyFunction function = binding->second;
    function();
    LogInfo("Running Key Up Function {}", Platform::KeyName(key));
}

}  // namespace Engine

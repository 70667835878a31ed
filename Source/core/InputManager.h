// Engine::InputManager: the key bindings and the set of held keys. The window reports key
// downs and ups; a pressed binding runs once per new press, an up binding on every release,
// and down bindings run every frame for held keys when the player controller asks.
// Keys are one-byte Windows virtual-key codes (platform/KeyMap maps SDL keys to them).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>

namespace Engine {

class InputManager {
public:
    using KeyFunction = std::function<void()>;

    static InputManager& Instance();

    // A key keeps its first binding of each kind: a second registration is logged and dropped.
    void RegisterKeyDownFunction(std::uint8_t key, KeyFunction function);
    void RegisterKeyPressedFunction(std::uint8_t key, KeyFunction function);
    void RegisterKeyUpFunction(std::uint8_t key, KeyFunction function);
    void UnregisterKeyPressedFunction(std::uint8_t key);

    void RunKeyDownFunctions();
    void KeyPressed(std::uint8_t key);
    void KeyReleased(std::uint8_t key);

    std::map<std::uint8_t, KeyFunction> keyDown;
    std::map<std::uint8_t, KeyFunction> keyPressed;
    std::map<std::uint8_t, KeyFunction> keyUp;
    std::set<std::uint8_t> held;

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

private:
    InputManager() = default;
};

}  // namespace Engine

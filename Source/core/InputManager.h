// Engine::InputManager: the key bindings and the set of held keys. The window reports key
// downs and ups; a pressed binding runs once per new press, an up binding on every release,
// and down bindings run every frame for held keys when the player controller asks. While the
// editor is open only its own bindings run, so nothing pressed there acts on the game.
// Keys are one-byte Windows virtual-key codes (platform/KeyMap maps SDL keys to them).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <utility>

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

    // Bindings registered while one of these lives are the editor's: its shortcuts and the key
    // that opens and closes it. They are the only ones that run while the editor is open.
    class EditorBindings {
    public:
        EditorBindings() { ++Instance().editorBindingScopes; }
        ~EditorBindings() { --Instance().editorBindingScopes; }
        EditorBindings(const EditorBindings&) = delete;
        EditorBindings& operator=(const EditorBindings&) = delete;
    };
    // The editor opened or closed. A key pressed while it was open stays the editor's until it
    // is released: its release and its holding run none of the game's bindings either.
    void SetEditorOpen(bool open) { editorOpen = open; }

    std::map<std::uint8_t, KeyFunction> keyDown;
    std::map<std::uint8_t, KeyFunction> keyPressed;
    std::map<std::uint8_t, KeyFunction> keyUp;
    std::set<std::uint8_t> held;

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

private:
    InputManager() = default;

    // Whether the binding of a key in one of the maps may run now.
    bool MayRun(const std::map<std::uint8_t, KeyFunction>& bindings, std::uint8_t key) const;
    void NoteRegistered(const std::map<std::uint8_t, KeyFunction>& bindings, std::uint8_t key, bool added);

    int editorBindingScopes = 0;
    bool editorOpen = false;
    std::set<std::pair<const void*, std::uint8_t>> editorBindings;  // (the map, the key)
    std::set<std::uint8_t> pressedInEditor;
};

}  // namespace Engine

#include "gameplay/PlayerController.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/InputManager.h"
#include "core/SystemManager.h"
#include "graphics/Camera.h"
#include "scripting/ScriptManager.h"

#include <cstdint>

namespace Engine {

namespace {
// One-byte Windows virtual-key codes: letters are their upper-case character codes.
constexpr std::uint8_t KeyA = 0x41;
constexpr std::uint8_t KeyD = 0x44;
constexpr std::uint8_t KeyJ = 0x4A;
constexpr std::uint8_t KeyW = 0x57;
constexpr std::uint8_t KeySpace = 0x20;
constexpr std::uint8_t KeyLeft = 0x25;
constexpr std::uint8_t KeyRight = 0x27;
constexpr std::uint8_t KeyZ = 0x5A;
constexpr std::uint8_t KeyK = 0x4B;
constexpr std::uint8_t KeyL = 0x4C;
constexpr std::uint8_t KeyX = 0x58;
constexpr std::uint8_t KeyC = 0x43;

// Every action runs for object 0, whatever the player's id: the scripts look the player up.
// The handle is held as a literal: a binding allocates nothing for its text.
InputManager::KeyFunction QueueScript(const char* handle)
{
    return [handle] { GetSystem<ScriptManager>()->Queue(handle, 0); };
}
}  // namespace

void PlayerController::Init()
{
    InputManager& input = InputManager::Instance();
    // The order is the binding order that the log shows.
    input.RegisterKeyDownFunction(KeyA, QueueScript("RunLeft"));
    input.RegisterKeyDownFunction(KeyD, QueueScript("RunRight"));
    input.RegisterKeyPressedFunction(KeyJ, QueueScript("Jump"));
    input.RegisterKeyPressedFunction(KeyW, QueueScript("Jump"));
    input.RegisterKeyPressedFunction(KeySpace, QueueScript("Jump"));
    input.RegisterKeyUpFunction(KeyJ, QueueScript("CancelJump"));
    input.RegisterKeyUpFunction(KeyW, QueueScript("CancelJump"));
    input.RegisterKeyUpFunction(KeySpace, QueueScript("CancelJump"));
    input.RegisterKeyDownFunction(KeyLeft, QueueScript("RunLeft"));
    input.RegisterKeyDownFunction(KeyRight, QueueScript("RunRight"));
    input.RegisterKeyPressedFunction(KeyZ, QueueScript("Jump"));
    input.RegisterKeyUpFunction(KeyZ, QueueScript("CancelJump"));
    input.RegisterKeyPressedFunction(KeyK, QueueScript("AirDash"));
    input.RegisterKeyPressedFunction(KeyL, QueueScript("WaterSkill"));
    input.RegisterKeyPressedFunction(KeyX, QueueScript("AirDash"));
    input.RegisterKeyPressedFunction(KeyC, QueueScript("WaterSkill"));
}

void PlayerController::Update()
{
    InputManager& input = InputManager::Instance();
    // An id past the table (no player) finds no Controller and counts as a living player.
    const auto playerId = static_cast<std::uint32_t>(Camera::Instance()->followedObjectId);
    Controller* controller = ComponentStore::Instance().GetComponent<Controller>(playerId);

    if (controller != nullptr && controller->isDead) {
        // X and C stay bound: only K and L go while the player is dead.
        input.UnregisterKeyPressedFunction(KeyK);
        input.UnregisterKeyPressedFunction(KeyL);
        skillKeysRemoved = true;
        controller->x_vel = 0.0f;
        controller->y_vel = 0.0f;
        return;  // held keys do nothing this frame, script bindings included
    }

    // K and L come back on the first frame of a new life, and only then: registering them on
    // every frame would change nothing but write two log lines a frame.
    if (skillKeysRemoved) {
        input.RegisterKeyPressedFunction(KeyK, QueueScript("AirDash"));
        input.RegisterKeyPressedFunction(KeyL, QueueScript("WaterSkill"));
        skillKeysRemoved = false;
    }
    input.RunKeyDownFunctions();
}

void PlayerController::Shutdown() {}

}  // namespace Engine

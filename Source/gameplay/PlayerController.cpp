#include "gameplay/PlayerController.h"

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/InputManager.h"
#include "core/ScriptQueue.h"
#include "core/SystemManager.h"
#include "graphics/Camera.h"
#include "platform/VirtualKeys.h"

#include <cstdint>

namespace Engine {

namespace {
namespace Key = Platform::VirtualKey;  // letters are their upper-case character codes

// Every action runs for object 0, whatever the player's id: the scripts look the player up.
InputManager::KeyFunction QueueScript(const char* handle) { return ScriptQueue::KeyBinding(handle); }
}  // namespace

void PlayerController::Init()
{
    InputManager& input = InputManager::Instance();
    // The order is the binding order that the log shows.
    input.RegisterKeyDownFunction('A', QueueScript("RunLeft"));
    input.RegisterKeyDownFunction('D', QueueScript("RunRight"));
    input.RegisterKeyPressedFunction('J', QueueScript("Jump"));
    input.RegisterKeyPressedFunction('W', QueueScript("Jump"));
    input.RegisterKeyPressedFunction(Key::Space, QueueScript("Jump"));
    input.RegisterKeyUpFunction('J', QueueScript("CancelJump"));
    input.RegisterKeyUpFunction('W', QueueScript("CancelJump"));
    input.RegisterKeyUpFunction(Key::Space, QueueScript("CancelJump"));
    input.RegisterKeyDownFunction(Key::Left, QueueScript("RunLeft"));
    input.RegisterKeyDownFunction(Key::Right, QueueScript("RunRight"));
    input.RegisterKeyPressedFunction('Z', QueueScript("Jump"));
    input.RegisterKeyUpFunction('Z', QueueScript("CancelJump"));
    input.RegisterKeyPressedFunction('K', QueueScript("AirDash"));
    input.RegisterKeyPressedFunction('L', QueueScript("WaterSkill"));
    input.RegisterKeyPressedFunction('X', QueueScript("AirDash"));
    input.RegisterKeyPressedFunction('C', QueueScript("WaterSkill"));
}

void PlayerController::Update()
{
    InputManager& input = InputManager::Instance();
    // An id past the table (no player) finds no Controller and counts as a living player.
    const auto playerId = static_cast<std::uint32_t>(Camera::Instance()->followedObjectId);
    Controller* controller = ComponentStore::Instance().GetComponent<Controller>(playerId);

    if (controller != nullptr && controller->isDead) {
        // X and C stay bound: only K and L go while the player is dead.
        input.UnregisterKeyPressedFunction('K');
        input.UnregisterKeyPressedFunction('L');
        skillKeysRemoved = true;
        controller->x_vel = 0.0f;
        controller->y_vel = 0.0f;
        return;  // held keys do nothing this frame, script bindings included
    }

    // K and L come back on the first frame of a new life, and only then: registering them on
    // every frame would change nothing but write two log lines a frame.
    if (skillKeysRemoved) {
        input.RegisterKeyPressedFunction('K', QueueScript("AirDash"));
        input.RegisterKeyPressedFunction('L', QueueScript("WaterSkill"));
        skillKeysRemoved = false;
    }
    input.RunKeyDownFunctions();
}

void PlayerController::Shutdown() {}

}  // namespace Engine

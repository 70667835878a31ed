// Small scenes for the gameplay tests: objects made in code with the components a case needs,
// and a view of the script run queue, where every raised event and queued action ends up.
#pragma once

#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/FrameTime.h"
#include "core/GameObjectTable.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/Transform.h"
#include "graphics/Camera.h"
#include "scripting/ScriptManager.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace GameplayScene {

inline Engine::ComponentStore& Store() { return Engine::ComponentStore::Instance(); }

inline std::uint32_t AddObject(const std::string& name, float x, float y)
{
    const std::uint32_t id = Engine::GameObjectTable::Instance().CreateGameObject(name);
    Store().AddComponent<Engine::Transform>(id);
    Engine::Transform* transform = Store().GetComponent<Engine::Transform>(id);
    transform->x_pos = x;
    transform->y_pos = y;
    return id;
}

template <typename T>
T& Add(std::uint32_t id)
{
    Store().AddComponent<T>(id);
    return *Store().GetComponent<T>(id);
}

template <typename T>
T* Get(std::uint32_t id)
{
    return Store().GetComponent<T>(id);
}

// A box of the given half sizes centred on the object's position.
inline Engine::RigidBody& AddBox(std::uint32_t id, std::int32_t bodyType, float halfWidth, float halfHeight)
{
    Engine::RigidBody& body = Add<Engine::RigidBody>(id);
    body.BodyType = bodyType;
    body.left = -halfWidth;
    body.right = halfWidth;
    body.top = halfHeight;
    body.bottom = -halfHeight;
    return body;
}

// A Controller whose prediction is the given point (as if PhysicsUpdate had just run).
inline Engine::Controller& AddMover(std::uint32_t id, float nextX, float nextY, float xVel = 0.0f, float yVel = 0.0f)
{
    Engine::Controller& controller = Add<Engine::Controller>(id);
    controller.next_x_pos = nextX;
    controller.next_y_pos = nextY;
    controller.x_vel = xVel;
    controller.y_vel = yVel;
    return controller;
}

// Makes each event queue a script of the event's own name, so the queue reads as the events raised.
inline void Listen(std::uint32_t id, std::initializer_list<const char*> eventNames)
{
    Engine::EventSet* set = Get<Engine::EventSet>(id);
    if (set == nullptr)
        set = &Add<Engine::EventSet>(id);
    for (const char* name : eventNames)
        set->events[name].push_back(name);
}

inline void FollowPlayer(std::uint32_t id)
{
    Engine::Camera::Instance()->followedObjectId = static_cast<std::int32_t>(id);
}

using Call = std::pair<std::string, std::uint32_t>;  // queued script handle, object id

inline std::vector<Call> QueuedCalls()
{
    const Engine::ScriptManager* scripts = Engine::GetSystem<Engine::ScriptManager>();
    std::vector<Call> calls;
    for (std::size_t i = 0; i < scripts->runList.size() && i < scripts->runObjectIds.size(); ++i)
        calls.emplace_back(scripts->runList[i], scripts->runObjectIds[i]);
    return calls;
}

// The queued scripts' handles, in queue order.
inline std::vector<std::string> QueuedScriptNames()
{
    std::vector<std::string> handles;
    for (const Call& call : QueuedCalls())
        handles.push_back(call.first);
    return handles;
}

inline void ClearQueue()
{
    Engine::ScriptManager* scripts = Engine::GetSystem<Engine::ScriptManager>();
    scripts->runList.clear();
    scripts->runObjectIds.clear();
}

template <typename T>
void Step()
{
    Engine::GetSystem<T>()->Update();
}

}  // namespace GameplayScene

#include "core/GameClock.h"
#include "core/TimerDatabase.h"

#include <chrono>

namespace GameplayScene {

// The scenes' time: the game clock reads it, and with it the timer database and every
// Range's shot time. Only AdvanceTimers moves it, so no case depends on the machine's speed.
inline Engine::GameClock::TimePoint sceneTime{std::chrono::hours(1)};
inline const bool sceneClockSet = (Engine::GameClock::Set([] { return sceneTime; }), true);

// Moves the scene's time on by this many milliseconds, then updates the timer database.
inline void AdvanceTimers(std::int64_t milliseconds)
{
    Engine::TimerDatabase* timers = Engine::GetSystem<Engine::TimerDatabase>();
    sceneTime += std::chrono::milliseconds(milliseconds);
    timers->Update();
}

inline std::vector<std::uint32_t> ObjectsNamed(const std::string& name)
{
    std::vector<std::uint32_t> ids;
    const Engine::GameObjectTable& table = Engine::GameObjectTable::Instance();
    for (std::uint32_t id = 0; id <= table.highestUsed; ++id) {
        if (const GameObject* record = table.Get(id); record != nullptr && record->name == name)
            ids.push_back(id);
    }
    return ids;
}

}  // namespace GameplayScene

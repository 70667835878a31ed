#include "data/LevelEntryRecord.h"

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventManager.h"
#include "core/EventSet.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/SystemManager.h"
#include "core/TimerDatabase.h"
#include "core/Transform.h"
#include "data/LevelLoadSteps.h"

namespace Engine {

namespace {

constexpr std::int64_t KillZoneDelayMs = 1000;

// Adds a T to the object when the entry had its member, and hands it to fill.
template <typename T, typename Fill>
void AddIfPresent(const LevelEntryRecord::Fields& fields, std::uint32_t id, Fill&& fill)
{
    if (!fields.present)
        return;
    ComponentStore& store = ComponentStore::Instance();
    store.AddComponent<T>(id);
    fill(*store.GetComponent<T>(id), fields);
}

}  // namespace

void LevelEntryRecord::AddLoadedHandler(std::uint32_t id, const std::string& eventName, const std::string& handlerName)
{
    GetSystem<EventManager>()->AddEvent(id, eventName, handlerName);
    if (handlerName == "KillZone") {
        // The effect shows a moment after the level appears; nothing cancels it.
        AddTimer<DelayCallTimer>(KillZoneDelayMs, [id] { LevelLoadSteps::KillZoneDue(id); });
    }
}

void LevelEntryRecord::AddComponentsTo(std::uint32_t id) const
{
    using Values = LevelEntryRecord::Fields;
    AddIfPresent<Engine::Transform>(components[Transform], id, [](Engine::Transform& transform, const Values& v) {
        transform.x_pos = v.floats[0];
        transform.y_pos = v.floats[1];
        transform.z_pos = v.floats[2];
        transform.x_sca = v.floats[3];
        transform.y_sca = v.floats[4];
        transform.rot = v.floats[5];
    });
    AddIfPresent<Engine::Sprite>(components[Sprite], id, [](Engine::Sprite& sprite, const Values& v) {
        for (int channel = 0; channel < 4; ++channel)
            sprite.Color[channel] = v.floats[static_cast<std::size_t>(channel)];
        sprite.MeshIndex = v.ints[0];
        sprite.Texture = v.text;
    });
    AddIfPresent<Engine::RigidBody>(components[RigidBody], id, [](Engine::RigidBody& body, const Values& v) {
        body.left = v.floats[0];
        body.top = v.floats[1];
        body.right = v.floats[2];
        body.bottom = v.floats[3];
        body.Weight = v.floats[4];
        body.BodyType = v.ints[0];
        body.ColliderType = v.ints[1];
        body.Ghost = v.flag;
    });
    if (hasController)
        ComponentStore::Instance().AddComponent<Controller>(id);  // no field is read
    AddIfPresent<Engine::Parallax>(components[Parallax], id, [](Engine::Parallax& parallax, const Values& v) {
        parallax.PosX = v.floats[0];
        parallax.PosY = v.floats[1];
        parallax.Level = v.ints[0];
    });
    AddIfPresent<Engine::Animation>(components[Animation], id,
                                    [](Engine::Animation& animation, const Values& v) { animation.Handle = v.text; });
    if (hasEvents) {
        ComponentStore::Instance().AddComponent<EventSet>(id);
        for (const auto& [eventName, handlers] : events)
            for (const std::string& handler : handlers)
                AddLoadedHandler(id, eventName, handler);
    }
    AddIfPresent<Engine::Checkpoint>(components[Checkpoint], id, [](Engine::Checkpoint& checkpoint, const Values& v) {
        checkpoint.x = v.floats[0];
        checkpoint.y = v.floats[1];
    });
    AddIfPresent<Engine::Range>(components[Range], id, [](Engine::Range& range, const Values& v) {
        range.range = v.floats[0];
        range.speed = v.floats[1];
    });
}

}  // namespace Engine

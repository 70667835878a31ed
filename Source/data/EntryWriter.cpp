#include "data/EntryWriter.h"

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/ComponentStore.h"
#include "core/Controller.h"
#include "core/EventSet.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

namespace Engine {

namespace {

using Json = nlohmann::json;

// Floats go out as the double of their single-precision value.
Json Wrapped(float value) { return Json::array({static_cast<double>(value)}); }
Json Wrapped(std::int32_t value) { return Json::array({value}); }
Json Wrapped(bool value) { return Json::array({value}); }
Json Wrapped(const std::string& value) { return Json::array({value}); }

void Write(Json& member, const Transform& transform)
{
    member["PosX"] = Wrapped(transform.x_pos);
    member["PosY"] = Wrapped(transform.y_pos);
    member["PosZ"] = Wrapped(transform.z_pos);
    member["ScaleX"] = Wrapped(transform.x_sca);
    member["ScaleY"] = Wrapped(transform.y_sca);
    member["Rotation"] = Wrapped(transform.rot);
}

void Write(Json& member, const Sprite& sprite)
{
    Json& color = member["Color"];
    color["X"] = static_cast<double>(sprite.Color[0]);
    color["Y"] = static_cast<double>(sprite.Color[1]);
    color["Z"] = static_cast<double>(sprite.Color[2]);
    color["W"] = static_cast<double>(sprite.Color[3]);
    member["MeshIndex"] = Wrapped(sprite.MeshIndex);
    member["Texture"] = Wrapped(sprite.Texture);
}

void Write(Json& member, const RigidBody& body)
{
    member["Left"] = Wrapped(body.left);
    member["Top"] = Wrapped(body.top);
    member["Right"] = Wrapped(body.right);
    member["Bottom"] = Wrapped(body.bottom);
    member["Weight"] = Wrapped(body.Weight);
    member["BodyType"] = Wrapped(body.BodyType);
    member["ColliderType"] = Wrapped(body.ColliderType);
    member["Ghost"] = Wrapped(body.Ghost);
}

void Write(Json& member, const Parallax& parallax)
{
    member["PosX"] = Wrapped(parallax.PosX);
    member["PosY"] = Wrapped(parallax.PosY);
    member["Level"] = Wrapped(parallax.Level);
}

void Write(Json& entry, const EventSet& eventSet)
{
    for (const auto& [eventName, handlers] : eventSet.events) {
        // Reaching for "Events" only here keeps a set without handlers out of the file.
        for (std::size_t index = 0; index < handlers.size(); ++index)
            entry["Events"][eventName][index] = Wrapped(handlers[index]);
    }
}

void Write(Json& member, const Checkpoint& checkpoint)
{
    member["PosX"] = Wrapped(checkpoint.x);
    member["PosY"] = Wrapped(checkpoint.y);
}

void Write(Json& member, const Range& range)
{
    member["Range"] = Wrapped(range.range);
    member["BulletSpeed"] = Wrapped(range.speed);
}

}  // namespace

void EntryWriter::WriteComponents(Json& entry, std::uint32_t objectId, Checkpoints checkpoints)
{
    ComponentStore& store = ComponentStore::Instance();
    if (const auto* transform = store.GetComponent<Transform>(objectId))
        Write(entry["Transform"], *transform);
    if (const auto* sprite = store.GetComponent<Sprite>(objectId))
        Write(entry["Sprite"], *sprite);
    if (const auto* body = store.GetComponent<RigidBody>(objectId))
        Write(entry["RigidBody"], *body);
    if (store.GetComponent<Controller>(objectId) != nullptr)
        entry["Controller"]["Exists"] = Wrapped(true);
    if (const auto* parallax = store.GetComponent<Parallax>(objectId))
        Write(entry["Parallax"], *parallax);
    if (const auto* animation = store.GetComponent<Animation>(objectId))
        entry["Animation"]["Handle"] = Wrapped(animation->Handle);
    if (const auto* eventSet = store.GetComponent<EventSet>(objectId))
        Write(entry, *eventSet);
    if (checkpoints == Checkpoints::Written) {
        if (const auto* checkpoint = store.GetComponent<Checkpoint>(objectId))
            Write(entry["Checkpoint"], *checkpoint);
    }
    if (const auto* range = store.GetComponent<Range>(objectId))
        Write(entry["Range"], *range);
}

}  // namespace Engine

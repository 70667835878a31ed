#include "data/EntryWriter.h"

#include "core/Checkpoint.h"
#include "core/EventSet.h"
#include "core/Log.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

#include <cmath>
#include <string>

namespace Engine {

namespace {

using Json = nlohmann::json;

// Writes the fields of one component of one object. A float that is not finite would go out
// as null, which no reader takes: it is written as 0, and the warning names what it was.
class FieldWriter {
public:
    FieldWriter(const std::string& objectName, const char* componentName) : object(objectName), component(componentName) {}

    // Floats go out as the double of their single-precision value.
    double Number(const char* field, float value) const
    {
        if (std::isfinite(value))
            return static_cast<double>(value);
        LogWarn("Saving {}: {} {} is {}, which cannot be stored; it is written as 0", object, component, field, value);
        return 0.0;
    }
    Json Wrapped(const char* field, float value) const { return Json::array({Number(field, value)}); }

private:
    const std::string& object;
    const char* component;
};

Json Wrapped(std::int32_t value) { return Json::array({value}); }
Json Wrapped(bool value) { return Json::array({value}); }
Json Wrapped(const std::string& value) { return Json::array({value}); }

void Write(Json& member, const Transform& transform, const std::string& object)
{
    const FieldWriter fields(object, "Transform");
    member["PosX"] = fields.Wrapped("PosX", transform.x_pos);
    member["PosY"] = fields.Wrapped("PosY", transform.y_pos);
    member["PosZ"] = fields.Wrapped("PosZ", transform.z_pos);
    member["ScaleX"] = fields.Wrapped("ScaleX", transform.x_sca);
    member["ScaleY"] = fields.Wrapped("ScaleY", transform.y_sca);
    member["Rotation"] = fields.Wrapped("Rotation", transform.rot);
}

void Write(Json& member, const Sprite& sprite, const std::string& object)
{
    const FieldWriter fields(object, "Sprite Color");
    Json& color = member["Color"];
    color["X"] = fields.Number("X", sprite.Color[0]);
    color["Y"] = fields.Number("Y", sprite.Color[1]);
    color["Z"] = fields.Number("Z", sprite.Color[2]);
    color["W"] = fields.Number("W", sprite.Color[3]);
    member["MeshIndex"] = Wrapped(sprite.MeshIndex);
    member["Texture"] = Wrapped(sprite.Texture);
}

void Write(Json& member, const RigidBody& body, const std::string& object)
{
    const FieldWriter fields(object, "RigidBody");
    member["Left"] = fields.Wrapped("Left", body.left);
    member["Top"] = fields.Wrapped("Top", body.top);
    member["Right"] = fields.Wrapped("Right", body.right);
    member["Bottom"] = fields.Wrapped("Bottom", body.bottom);
    member["Weight"] = fields.Wrapped("Weight", body.Weight);
    member["BodyType"] = Wrapped(body.BodyType);
    member["ColliderType"] = Wrapped(body.ColliderType);
    member["Ghost"] = Wrapped(body.Ghost);
}

void Write(Json& member, const Parallax& parallax, const std::string& object)
{
    const FieldWriter fields(object, "Parallax");
    member["PosX"] = fields.Wrapped("PosX", parallax.PosX);
    member["PosY"] = fields.Wrapped("PosY", parallax.PosY);
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

void Write(Json& member, const Checkpoint& checkpoint, const std::string& object)
{
    const FieldWriter fields(object, "Checkpoint");
    member["PosX"] = fields.Wrapped("PosX", checkpoint.x);
    member["PosY"] = fields.Wrapped("PosY", checkpoint.y);
}

void Write(Json& member, const Range& range, const std::string& object)
{
    const FieldWriter fields(object, "Range");
    member["Range"] = fields.Wrapped("Range", range.range);
    member["BulletSpeed"] = fields.Wrapped("BulletSpeed", range.speed);
}

}  // namespace

void EntryWriter::WriteComponents(Json& entry, std::uint32_t objectId, Checkpoints checkpoints)
{
    WriteComponents(entry, EntrySnapshot::Of(objectId), checkpoints);
}

void EntryWriter::WriteComponents(Json& entry, const EntrySnapshot& object, Checkpoints checkpoints)
{
    const std::string& name = object.name;
    if (object.transform)
        Write(entry["Transform"], *object.transform, name);
    if (object.sprite)
        Write(entry["Sprite"], *object.sprite, name);
    if (object.rigidBody)
        Write(entry["RigidBody"], *object.rigidBody, name);
    if (object.controller)
        entry["Controller"]["Exists"] = Wrapped(true);
    if (object.parallax)
        Write(entry["Parallax"], *object.parallax, name);
    if (object.animationHandle)
        entry["Animation"]["Handle"] = Wrapped(*object.animationHandle);
    if (object.eventSet)
        Write(entry, *object.eventSet);
    if (checkpoints == Checkpoints::Written && object.checkpoint)
        Write(entry["Checkpoint"], *object.checkpoint, name);
    if (object.range)
        Write(entry["Range"], *object.range, name);
}

}  // namespace Engine

#include "data/EntryReader.h"

#include "core/Animation.h"
#include "core/Checkpoint.h"
#include "core/Parallax.h"
#include "core/Range.h"
#include "core/RigidBody.h"
#include "core/Sprite.h"
#include "core/Transform.h"

namespace Engine {

void EntryReader::Read(const Json& member, Transform& transform) const
{
    transform.x_pos = reader.Float(member, "PosX");
    transform.y_pos = reader.Float(member, "PosY");
    transform.z_pos = reader.Float(member, "PosZ");
    transform.x_sca = reader.Float(member, "ScaleX");
    transform.y_sca = reader.Float(member, "ScaleY");
    transform.rot = reader.Float(member, "Rotation");
}

void EntryReader::Read(const Json& member, Sprite& sprite) const
{
    const Json& color = reader.Object(member, "Color");
    {
        JsonReader::Scope scope(reader, "Color");
        sprite.Color[0] = reader.PlainFloat(color, "X");
        sprite.Color[1] = reader.PlainFloat(color, "Y");
        sprite.Color[2] = reader.PlainFloat(color, "Z");
        sprite.Color[3] = reader.PlainFloat(color, "W");
    }
    sprite.MeshIndex = reader.Int(member, "MeshIndex");
    sprite.Texture = reader.String(member, "Texture");
}

void EntryReader::Read(const Json& member, RigidBody& body) const
{
    body.left = reader.Float(member, "Left");
    body.top = reader.Float(member, "Top");
    body.right = reader.Float(member, "Right");
    body.bottom = reader.Float(member, "Bottom");
    body.Weight = reader.Float(member, "Weight");
    body.BodyType = reader.Int(member, "BodyType");
    body.ColliderType = reader.Int(member, "ColliderType");
    body.Ghost = reader.Bool(member, "Ghost");
}

void EntryReader::ReadArchetypeRigidBody(const Json& member, RigidBody& body) const
{
    body.top = reader.Float(member, "Top");
    body.bottom = reader.Float(member, "Bottom");
    body.left = reader.Float(member, "Left");
    body.right = reader.Float(member, "Right");
    body.Weight = reader.Float(member, "Weight");
    const std::int32_t bodyType = reader.Int(member, "BodyType");
    if (bodyType < 5) {
        body.BodyType = bodyType;
        body.ColliderType = reader.Int(member, "ColliderType");
    } else {
        body.BodyType = 0;
        body.ColliderType = 0;
    }
    body.Ghost = reader.Bool(member, "Ghost");
}

void EntryReader::Read(const Json& member, Parallax& parallax) const
{
    parallax.PosX = reader.Float(member, "PosX");
    parallax.PosY = reader.Float(member, "PosY");
    parallax.Level = reader.Int(member, "Level");
}

void EntryReader::Read(const Json& member, Animation& animation) const
{
    animation.Handle = reader.String(member, "Handle");
}

void EntryReader::Read(const Json& member, Checkpoint& checkpoint) const
{
    checkpoint.x = reader.Float(member, "PosX");
    checkpoint.y = reader.Float(member, "PosY");
}

void EntryReader::Read(const Json& member, Range& range) const
{
    range.range = reader.Float(member, "Range");
    range.speed = reader.Float(member, "BulletSpeed");
}

void EntryReader::ReadEvents(const Json& member, const EventVisitor& visitEvent, const HandlerVisitor& visitHandler) const
{
    for (const auto& [eventName, handlers] : member.items()) {
        reader.ExpectArray(handlers, eventName);
        if (visitEvent)
            visitEvent(eventName);
        JsonReader::Scope scope(reader, eventName);
        for (std::size_t index = 0; index < handlers.size(); ++index)
            visitHandler(eventName, reader.WrappedString(handlers, index));
    }
}

}  // namespace Engine

#include "data/EntryReader.h"

namespace Engine {

void EntryReader::ReadField(const Json& member, const char* key, float& value) const { value = reader.Float(member, key); }

void EntryReader::ReadField(const Json& member, const char* key, std::int32_t& value) const { value = reader.Int(member, key); }

void EntryReader::ReadField(const Json& member, const char* key, bool& value) const { value = reader.Bool(member, key); }

void EntryReader::ReadField(const Json& member, const char* key, std::string& value) const
{
    value = reader.String(member, key);
}

void EntryReader::ReadField(const Json& member, const char* key, float (&color)[4]) const
{
    const Json& channels = reader.Object(member, key);
    JsonReader::Scope scope(reader, key);
    for (std::size_t channel = 0; channel < 4; ++channel)
        color[channel] = reader.PlainFloat(channels, ColorKeys[channel]);
}

// The archetype loader reads the body's edges first, in an order of its own (which decides the
// fault it reports first), then the rest of the table's fields in table order, with its
// body-type rule; the keys are the table's.
void EntryReader::ReadArchetypeRigidBody(const Json& member, RigidBody& body) const
{
    ReadField(member, FileKey<&RigidBody::top>, body.top);
    ReadField(member, FileKey<&RigidBody::bottom>, body.bottom);
    ReadField(member, FileKey<&RigidBody::left>, body.left);
    ReadField(member, FileKey<&RigidBody::right>, body.right);
    bool readCollider = true;
    ForEachStoredField<RigidBody>([&](const auto& field) {
        if (IsAnyField<&RigidBody::top, &RigidBody::bottom, &RigidBody::left, &RigidBody::right>(field))
            return;
        if (IsField<&RigidBody::BodyType>(field)) {
            std::int32_t bodyType = 0;
            ReadField(member, field.key, bodyType);
            readCollider = bodyType < 5;
            body.BodyType = readCollider ? bodyType : 0;
            if (!readCollider)
                body.ColliderType = 0;
        } else if (IsField<&RigidBody::ColliderType>(field)) {
            if (readCollider)
                ReadField(member, field.key, body.ColliderType);
        } else {
            ReadField(member, field.key, field.Of(body));
        }
    });
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

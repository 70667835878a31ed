#include "data/LevelScanHandler.h"

#include "data/JsonReader.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace Engine {

namespace {

// Marks one member of the entry or of a component as read; a repeated one is not plain.
template <typename Bits>
bool FirstTime(Bits& seen, std::size_t bit)
{
    if (seen.test(bit))
        return false;
    seen.set(bit);
    return true;
}

}  // namespace

bool LevelScanHandler::Push(Frame frame, int component, const Specs::Field* field)
{
    // Deeper documents are refused by the general reader, which says so.
    if (stack.size() >= static_cast<std::size_t>(JsonReader::MaxDepth))
        return false;
    stack.push_back(Level{frame, component, field, 0});
    return true;
}

bool LevelScanHandler::Open(bool object)
{
    if (stack.empty())
        return object && Push(Frame::Top);
    Level& level = stack.back();
    switch (level.frame) {
    case Frame::Top:
        return object && Push(Frame::Entry);
    case Frame::Entry:
        return OpenEntryMember(object);
    case Frame::Component: {
        std::size_t bit = 0;
        const Specs::Field* field = Specs::FieldOf(level.component, lastKey, bit);
        if (field == nullptr)
            return Push(Frame::Skip);
        if (!FirstTime(FieldsSeen(), bit) || object != (field->kind == FieldKind::Color))
            return false;
        return Push(object ? Frame::Color : Frame::Field, level.component, field);
    }
    case Frame::Color:
        if (Specs::ColorMemberOf(lastKey))
            return false;
        return Push(Frame::Skip);
    case Frame::Events:
        if (object)
            return false;
        Entry().events.emplace_back(lastKey, std::vector<std::string>());
        return Push(Frame::HandlerList);
    case Frame::HandlerList:
        return !object && Push(Frame::HandlerItem);
    case Frame::HandlerItem:
    case Frame::Field:
        return false;
    case Frame::Skip:
        return Push(Frame::Skip);
    }
    return false;
}

bool LevelScanHandler::OpenEntryMember(bool object)
{
    Record& entry = Entry();
    Specs::MemberSet& seen = entryMembers;
    if (const std::optional<int> component = Specs::ComponentOf(lastKey)) {
        if (!object || !FirstTime(seen, static_cast<std::size_t>(*component)))
            return false;
        entry.components[static_cast<std::size_t>(*component)].present = true;
        return Push(Frame::Component, *component);
    }
    if (lastKey == Specs::EventsMember) {
        if (!object || !FirstTime(seen, Specs::EventsBit))
            return false;
        entry.hasEvents = true;
        return Push(Frame::Events);
    }
    if (lastKey == Specs::HandleMember)
        return false;
    if (lastKey == Specs::ControllerMember) {
        if (!FirstTime(seen, Specs::ControllerBit))
            return false;
        entry.hasController = true;
    }
    return Push(Frame::Skip);
}

bool LevelScanHandler::Scalar(const Value& value)
{
    if (stack.empty()) {
        topLevelSeen = true;
        return value.type == Value::Null;  // a level saved with no objects
    }
    Level& level = stack.back();
    switch (level.frame) {
    case Frame::Top:
        return false;
    case Frame::Entry:
        return EntryScalar(value);
    case Frame::Component: {
        std::size_t bit = 0;
        return Specs::FieldOf(level.component, lastKey, bit) == nullptr;  // a known field is never a plain value
    }
    case Frame::Color: {
        const std::optional<std::size_t> member = Specs::ColorMemberOf(lastKey);
        if (!member)
            return true;
        return value.type == Value::Number && FirstTime(FieldsSeen(), Specs::ColorBit + *member) &&
               StoreFloat(value, Fields().floats[*member]);
    }
    case Frame::Events:
    case Frame::HandlerList:
        return false;
    case Frame::HandlerItem:
        if (level.items++ != 0 || value.type != Value::String)
            return false;
        Entry().events.back().second.push_back(*value.text);
        return true;
    case Frame::Field:
        return level.items++ == 0 && StoreField(*level.field, value);
    case Frame::Skip:
        return true;
    }
    return false;
}

bool LevelScanHandler::EntryScalar(const Value& value)
{
    if (lastKey == Specs::HandleMember) {
        if (value.type != Value::String || !FirstTime(entryMembers, Specs::HandleBit))
            return false;
        Entry().handle = *value.text;
        Entry().hasHandle = true;
        return true;
    }
    if (Specs::ComponentOf(lastKey) || lastKey == Specs::EventsMember)
        return false;
    if (lastKey == Specs::ControllerMember) {
        if (!FirstTime(entryMembers, Specs::ControllerBit))
            return false;
        Entry().hasController = true;
    }
    return true;
}

bool LevelScanHandler::StoreFloat(const Value& value, float& slot)
{
    slot = JsonReader::ToFloat(value.number);
    return std::isfinite(slot);
}

bool LevelScanHandler::StoreField(const Specs::Field& field, const Value& value)
{
    Record::Fields& fields = Fields();
    const auto slot = static_cast<std::size_t>(field.slot);
    switch (field.kind) {
    case FieldKind::Float:
        return value.type == Value::Number && StoreFloat(value, fields.floats[slot]);
    case FieldKind::Int: {
        if (value.type != Value::Number)
            return false;
        const std::optional<std::int32_t> number = JsonReader::ToInt(value.number);
        if (!number)
            return false;
        fields.ints[slot] = *number;
        return true;
    }
    case FieldKind::Bool:
        fields.flag = value.flag;
        return value.type == Value::Bool;
    case FieldKind::String:
        if (value.type != Value::String)
            return false;
        fields.text = *value.text;
        return true;
    case FieldKind::Color:
    case FieldKind::Timer:
        return false;
    }
    return false;
}

bool LevelScanHandler::Close()
{
    const Level level = stack.back();
    stack.pop_back();
    switch (level.frame) {
    case Frame::Top:
        topLevelSeen = true;
        return true;
    case Frame::Entry:
        return CloseEntry();
    case Frame::Field:
    case Frame::HandlerItem:
        return level.items == 1;
    default:
        return true;
    }
}

bool LevelScanHandler::CloseEntry()
{
    Record& entry = Entry();
    entry.text = layout.Finish();
    entryMembers.reset();
    if (!entry.hasHandle)
        return false;
    for (std::size_t c = 0; c < entry.components.size(); ++c) {
        const bool whole = fieldsSeen[c] == Specs::Required(static_cast<int>(c));
        fieldsSeen[c].reset();
        if (entry.components[c].present && !whole)
            return false;
    }
    return true;
}

}  // namespace Engine

#include "data/LevelScanner.h"

#include "data/JsonReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

namespace Engine {

namespace {

using Json = nlohmann::json;
using Record = LevelEntryRecord;

enum class Kind { Float, Int, Bool, String, Color };

// One field member of a component: its key, its JSON shape and the record slot it fills.
struct FieldSpec {
    std::string_view key;
    Kind kind;
    int slot;
};

constexpr FieldSpec TransformFields[] = {{"PosX", Kind::Float, 0},   {"PosY", Kind::Float, 1},
                                         {"PosZ", Kind::Float, 2},   {"ScaleX", Kind::Float, 3},
                                         {"ScaleY", Kind::Float, 4}, {"Rotation", Kind::Float, 5}};
constexpr FieldSpec SpriteFields[] = {{"Color", Kind::Color, 0}, {"MeshIndex", Kind::Int, 0}, {"Texture", Kind::String, 0}};
constexpr FieldSpec RigidBodyFields[] = {{"Left", Kind::Float, 0},   {"Top", Kind::Float, 1},
                                         {"Right", Kind::Float, 2},  {"Bottom", Kind::Float, 3},
                                         {"Weight", Kind::Float, 4}, {"BodyType", Kind::Int, 0},
                                         {"ColliderType", Kind::Int, 1}, {"Ghost", Kind::Bool, 0}};
constexpr FieldSpec ParallaxFields[] = {{"PosX", Kind::Float, 0}, {"PosY", Kind::Float, 1}, {"Level", Kind::Int, 0}};
constexpr FieldSpec AnimationFields[] = {{"Handle", Kind::String, 0}};
constexpr FieldSpec CheckpointFields[] = {{"PosX", Kind::Float, 0}, {"PosY", Kind::Float, 1}};
constexpr FieldSpec RangeFields[] = {{"Range", Kind::Float, 0}, {"BulletSpeed", Kind::Float, 1}};

// The colour members are plain numbers in floats 0 to 3; their bits follow the fields' own.
constexpr std::string_view ColorMembers[] = {"X", "Y", "Z", "W"};
constexpr int ColorBit = 8;

struct ComponentSpec {
    std::string_view member;
    std::span<const FieldSpec> fields;
    std::uint16_t required;  // every field is required
};

const ComponentSpec Components[Record::ComponentCount] = {
    {"Transform", TransformFields, 0x3F},   {"Sprite", SpriteFields, 0x0F07}, {"RigidBody", RigidBodyFields, 0xFF},
    {"Parallax", ParallaxFields, 0x07},     {"Animation", AnimationFields, 0x01},
    {"Checkpoint", CheckpointFields, 0x03}, {"Range", RangeFields, 0x03},
};

std::optional<int> ComponentOf(std::string_view member)
{
    for (int c = 0; c < Record::ComponentCount; ++c)
        if (Components[c].member == member)
            return c;
    return std::nullopt;
}

// The SAX handler: follows where in the document each value stands and stops (returns false)
// at the first thing that is not plain.
class Scanner {
public:
    using Builder = nlohmann::detail::json_sax_dom_parser<Json>;

    explicit Scanner(std::vector<Record>& records) : entries(records) {}

    // Inside an entry every event also goes to the entry's own document (LevelEntryRecord::entry).
    bool null() { return Built(&Builder::null) && Scalar(Value{Value::Null, Json(), false, nullptr}); }
    bool boolean(bool flag)
    {
        return (!builder || builder->boolean(flag)) && Scalar(Value{Value::Bool, Json(), flag, nullptr});
    }
    bool number_integer(Json::number_integer_t number)
    {
        return (!builder || builder->number_integer(number)) && Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool number_unsigned(Json::number_unsigned_t number)
    {
        return (!builder || builder->number_unsigned(number)) && Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool number_float(Json::number_float_t number, const std::string& text)
    {
        return (!builder || builder->number_float(number, text)) && Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool string(std::string& text)
    {
        return (!builder || builder->string(text)) && Scalar(Value{Value::String, Json(), false, &text});
    }
    bool binary(Json::binary_t&) { return false; }
    bool start_object(std::size_t members)
    {
        if (stack.size() == 1 && stack.back().frame == Frame::Top)
            builder = std::make_unique<Builder>(building);
        return (!builder || builder->start_object(members)) && Open(true);
    }
    bool start_array(std::size_t items) { return (!builder || builder->start_array(items)) && Open(false); }
    bool end_object() { return (!builder || builder->end_object()) && Close(); }
    bool end_array() { return (!builder || builder->end_array()) && Close(); }
    bool key(std::string& name)
    {
        if (stack.size() == 1 && stack.back().frame == Frame::Top) {
            entries.emplace_back();
            entries.back().key = name;
        }
        lastKey = name;
        return !builder || builder->key(name);
    }
    template <class Exception>
    bool parse_error(std::size_t, const std::string&, const Exception&)
    {
        return false;
    }

private:
    enum class Frame { Top, Entry, Component, Color, Events, HandlerList, HandlerItem, Field, Skip };
    struct Level {
        Frame frame;
        int component = 0;
        const FieldSpec* field = nullptr;
        int items = 0;
    };
    struct Value {
        enum Type { Null, Bool, Number, String } type;
        Json number;
        bool flag = false;
        std::string* text = nullptr;
    };
    // Entry members besides the components, for telling a repeated member.
    static constexpr std::uint16_t HandleBit = 1u << 10, ControllerBit = 1u << 11, EventsBit = 1u << 12;

    Record& Entry() { return entries.back(); }
    Record::Fields& Fields() { return Entry().components[static_cast<std::size_t>(stack.back().component)]; }

    // Marks one member of the entry or of a component as read; a repeated one is not plain.
    static bool FirstTime(std::uint16_t& seen, std::uint16_t bit)
    {
        if (seen & bit)
            return false;
        seen |= bit;
        return true;
    }

    const FieldSpec* FieldOf(int component, std::string_view key, std::uint16_t& bit) const
    {
        const std::span<const FieldSpec> fields = Components[component].fields;
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].key == key) {
                bit = static_cast<std::uint16_t>(1u << i);
                return &fields[i];
            }
        return nullptr;
    }

    bool Push(Frame frame, int component = 0, const FieldSpec* field = nullptr)
    {
        // Deeper documents are refused by the general reader, which says so.
        if (stack.size() >= static_cast<std::size_t>(JsonReader::MaxDepth))
            return false;
        stack.push_back(Level{frame, component, field, 0});
        return true;
    }

    bool Open(bool object)
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
            std::uint16_t bit = 0;
            const FieldSpec* field = FieldOf(level.component, lastKey, bit);
            if (field == nullptr)
                return Push(Frame::Skip);
            if (!FirstTime(Fields().seen, bit) || object != (field->kind == Kind::Color))
                return false;
            return Push(object ? Frame::Color : Frame::Field, level.component, field);
        }
        case Frame::Color:
            if (std::find(std::begin(ColorMembers), std::end(ColorMembers), lastKey) != std::end(ColorMembers))
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

    bool OpenEntryMember(bool object)
    {
        Record& entry = Entry();
        std::uint16_t& seen = entryMembers;
        if (const std::optional<int> component = ComponentOf(lastKey)) {
            if (!object || !FirstTime(seen, static_cast<std::uint16_t>(1u << *component)))
                return false;
            entry.components[static_cast<std::size_t>(*component)].present = true;
            return Push(Frame::Component, *component);
        }
        if (lastKey == "Events") {
            if (!object || !FirstTime(seen, EventsBit))
                return false;
            entry.hasEvents = true;
            return Push(Frame::Events);
        }
        if (lastKey == "Handle")
            return false;
        if (lastKey == "Controller") {
            if (!FirstTime(seen, ControllerBit))
                return false;
            entry.hasController = true;
        }
        return Push(Frame::Skip);
    }

    bool Scalar(const Value& value)
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
            std::uint16_t bit = 0;
            return FieldOf(level.component, lastKey, bit) == nullptr;  // a known field is never a plain value
        }
        case Frame::Color: {
            const auto* member = std::find(std::begin(ColorMembers), std::end(ColorMembers), lastKey);
            if (member == std::end(ColorMembers))
                return true;
            const int index = static_cast<int>(member - std::begin(ColorMembers));
            Record::Fields& fields = Fields();
            return value.type == Value::Number && FirstTime(fields.seen, static_cast<std::uint16_t>(1u << (ColorBit + index))) &&
                   StoreFloat(value, fields.floats[static_cast<std::size_t>(index)]);
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

    bool EntryScalar(const Value& value)
    {
        if (lastKey == "Handle") {
            if (value.type != Value::String || !FirstTime(entryMembers, HandleBit))
                return false;
            Entry().handle = *value.text;
            Entry().hasHandle = true;
            return true;
        }
        if (ComponentOf(lastKey) || lastKey == "Events")
            return false;
        if (lastKey == "Controller") {
            if (!FirstTime(entryMembers, ControllerBit))
                return false;
            Entry().hasController = true;
        }
        return true;
    }

    static bool StoreFloat(const Value& value, float& slot)
    {
        slot = JsonReader::ToFloat(value.number);
        return std::isfinite(slot);
    }

    bool StoreField(const FieldSpec& field, const Value& value)
    {
        Record::Fields& fields = Fields();
        const auto slot = static_cast<std::size_t>(field.slot);
        switch (field.kind) {
        case Kind::Float:
            return value.type == Value::Number && StoreFloat(value, fields.floats[slot]);
        case Kind::Int: {
            if (value.type != Value::Number)
                return false;
            const std::optional<std::int32_t> number = JsonReader::ToInt(value.number);
            if (!number)
                return false;
            fields.ints[slot] = *number;
            return true;
        }
        case Kind::Bool:
            fields.flag = value.flag;
            return value.type == Value::Bool;
        case Kind::String:
            if (value.type != Value::String)
                return false;
            fields.text = *value.text;
            return true;
        case Kind::Color:
            return false;
        }
        return false;
    }

    bool Close()
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

    bool CloseEntry()
    {
        Record& entry = Entry();
        entry.entry = std::move(building);
        building = Json();
        builder.reset();
        entryMembers = 0;
        if (!entry.hasHandle)
            return false;
        for (int c = 0; c < Record::ComponentCount; ++c) {
            const Record::Fields& fields = entry.components[static_cast<std::size_t>(c)];
            if (fields.present && fields.seen != Components[c].required)
                return false;
        }
        return true;
    }

    bool Built(bool (Builder::*event)()) { return !builder || ((*builder).*event)(); }

    std::vector<Record>& entries;
    std::unique_ptr<Builder> builder;  // while inside an entry, into `building`
    Json building;
    std::vector<Level> stack;
    std::string lastKey;
    std::uint16_t entryMembers = 0;  // component bits by LevelEntryRecord::Component, then the bits above

public:
    bool topLevelSeen = false;
};

template <typename T, typename Name>
bool SortedWithoutRepeats(std::vector<T>& items, Name&& name)
{
    std::stable_sort(items.begin(), items.end(), [&](const T& a, const T& b) { return name(a) < name(b); });
    return std::adjacent_find(items.begin(), items.end(), [&](const T& a, const T& b) { return name(a) == name(b); }) ==
           items.end();
}

bool IsLayout(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

bool IsStructural(char c)
{
    return c == '{' || c == '}' || c == '[' || c == ']' || c == ',' || c == ':' || c == '"';
}

// The text without the indentation and line breaks between tokens, which the library's lexer
// reads one character at a time. Whitespace is dropped only beside a structural character, so
// no two tokens run together and the text parses exactly as before (only faults report other
// positions, and faults are left to the general reader).
std::string WithoutLayout(const std::string& text)
{
    std::string kept(text.size(), '\0');
    char* out = kept.data();
    const char* const begin = out;
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at < end) {
        const char c = *at;
        if (c == '"') {
            // A string is copied as it stands, up to its closing quote.
            const char* close = at + 1;
            while (close < end && *close != '"')
                close += *close == '\\' && close + 1 < end ? 2 : 1;
            close = std::min(close + 1, end);
            out = std::copy(at, close, out);
            at = close;
        } else if (IsLayout(c)) {
            const char* next = at + 1;
            while (next < end && IsLayout(*next))
                ++next;
            const bool besideStructure =
                out == begin || next == end || IsStructural(out[-1]) || IsStructural(*next);
            if (!besideStructure)
                *out++ = ' ';
            at = next;
        } else {
            *out++ = c;
            ++at;
        }
    }
    kept.resize(static_cast<std::size_t>(out - begin));
    return kept;
}

}  // namespace

bool LevelScanner::Scan(const std::string& text, std::vector<LevelEntryRecord>& entries)
{
    entries.clear();
    Scanner scanner(entries);
    const std::string compact = WithoutLayout(text);
    try {
        if (!Json::sax_parse(compact.begin(), compact.end(), &scanner) || !scanner.topLevelSeen)
            return false;
    } catch (const std::exception&) {
        return false;  // the general reader reads it again and reports the fault
    }
    // The document keeps one member per key, ordered by key; a repeated key is left to it.
    if (!SortedWithoutRepeats(entries, [](const Record& entry) -> const std::string& { return entry.key; }))
        return false;
    for (Record& entry : entries)
        if (!SortedWithoutRepeats(entry.events, [](const Record::Handlers& event) -> const std::string& { return event.first; }))
            return false;
    return true;
}

}  // namespace Engine

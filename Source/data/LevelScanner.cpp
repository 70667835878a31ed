#include "data/LevelScanner.h"

#include "data/JsonReader.h"
#include "data/LevelBaseline.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

namespace Engine {

namespace {

using Json = nlohmann::json;
using Record = LevelEntryRecord;

// One field member of a component: its key, its shape and the record slot it fills.
struct FieldSpec {
    std::string_view key;
    FieldKind kind = FieldKind::Float;
    int slot = 0;
};

// The colour members are plain numbers in floats 0 to 3; their bits follow the fields' own.
constexpr std::string_view ColorMembers[] = {ColorKeys[0], ColorKeys[1], ColorKeys[2], ColorKeys[3]};
constexpr int ColorBit = static_cast<int>(Record::MostStoredFields);

// The stored fields of T from its table, with the slots LevelEntryRecord::Fields keeps them in.
template <typename T>
constexpr std::array<FieldSpec, StoredFieldCount<T>()> MakeFieldSpecs()
{
    std::array<FieldSpec, StoredFieldCount<T>()> specs{};
    Record::SlotCounter slots;
    std::size_t index = 0;
    ForEachStoredField<T>([&](const auto& field) {
        constexpr FieldKind kind = std::decay_t<decltype(field)>::kind;
        specs[index++] = FieldSpec{field.key, kind, static_cast<int>(slots.Next(kind))};
    });
    if (!slots.Fits())
        throw "the fields do not fit LevelEntryRecord::Fields";  // stops the constant evaluation
    return specs;
}

template <typename T>
constexpr std::array<FieldSpec, StoredFieldCount<T>()> FieldSpecs = MakeFieldSpecs<T>();

// Every field is required: a bit per field, and one per colour member.
template <typename T>
constexpr std::uint16_t RequiredBits()
{
    static_assert(StoredFieldCount<T>() <= ColorBit, "the field bits run into the colour bits");
    std::uint16_t bits = 0;
    for (std::size_t i = 0; i < FieldSpecs<T>.size(); ++i) {
        bits |= static_cast<std::uint16_t>(1u << i);
        if (FieldSpecs<T>[i].kind == FieldKind::Color)
            bits |= static_cast<std::uint16_t>(0xFu << ColorBit);
    }
    return bits;
}

struct ComponentSpec {
    std::string_view member;
    std::span<const FieldSpec> fields;
    std::uint16_t required = 0;
};

constexpr std::array<ComponentSpec, Record::ComponentCount> MakeComponentSpecs()
{
    std::array<ComponentSpec, Record::ComponentCount> specs{};
    ForEachComponent(StoredComponents(), [&]<typename T>() {
        specs[Record::IndexOf<T>] = ComponentSpec{ComponentFields<T>::member, FieldSpecs<T>, RequiredBits<T>()};
    });
    return specs;
}

constexpr std::array<ComponentSpec, Record::ComponentCount> Components = MakeComponentSpecs();

// The entry members of the components without stored fields.
constexpr std::string_view ControllerMember = ComponentFields<Controller>::member;
constexpr std::string_view EventsMember = ComponentFields<EventSet>::member;

std::optional<int> ComponentOf(std::string_view member)
{
    for (std::size_t c = 0; c < Components.size(); ++c)
        if (Components[c].member == member)
            return static_cast<int>(c);
    return std::nullopt;
}

// Writes one entry's text as the JSON library lays it out with an indentation of 4 (the text
// LevelBaseline::EntryText gives), straight from the parse events, with no document between.
// Members are written in the order they come; an entry whose members somewhere are not in
// byte order of their keys, or repeat one, is laid out through the library at the end, which
// orders them and keeps the last of a repeated key as the document does.
class EntryLayout {
public:
    bool Writing() const { return depth > 0; }

    void Open(bool object)
    {
        Separate();
        text += object ? '{' : '[';
        if (levels.size() <= depth)
            levels.emplace_back();
        levels[depth++] = Level{object, true, {}};
    }

    // True when that closes the entry.
    bool Close()
    {
        const Level& level = levels[--depth];
        if (!level.empty) {
            text += '\n';
            Indent(depth);
        }
        text += level.object ? '}' : ']';
        return depth == 0;
    }

    void Key(const std::string& name)
    {
        Level& level = levels[depth - 1];
        if (!level.empty && !(level.lastKey < name))
            inOrder = false;
        level.lastKey = name;
        text += level.empty ? "\n" : ",\n";
        level.empty = false;
        Indent(depth);
        String(name);
        text += ": ";
    }

    void Null()
    {
        Separate();
        text += "null";
    }
    void Bool(bool flag)
    {
        Separate();
        text += flag ? "true" : "false";
    }
    template <typename Number>
    void Integer(Number number)
    {
        Separate();
        char digits[24];
        const auto written = std::to_chars(std::begin(digits), std::end(digits), number);
        text.append(digits, static_cast<std::size_t>(written.ptr - digits));
    }
    void Float(double number)
    {
        Separate();
        if (!std::isfinite(number)) {
            text += "null";
            return;
        }
        // The library's own shortest form, as its dump writes it.
        char digits[64];
        const char* end = nlohmann::detail::to_chars(std::begin(digits), std::end(digits), number);
        text.append(digits, static_cast<std::size_t>(end - digits));
    }
    void Value(const std::string& value)
    {
        Separate();
        String(value);
    }

    // The entry's text, and the layout ready for the next entry (the text is made in one
    // buffer for all of them, and each entry keeps a copy of just its own size).
    std::string Finish()
    {
        std::string done = inOrder ? text : LevelBaseline::EntryText(Json::parse(text));
        text.clear();
        inOrder = true;
        return done;
    }

private:
    struct Level {
        bool object = false;
        bool empty = true;
        std::string lastKey;
    };

    void Indent(std::size_t levelsIn) { text.append(levelsIn * 4, ' '); }

    // Before a value: an array item goes on a line of its own (an object member's key has
    // already begun its line).
    void Separate()
    {
        if (depth == 0 || levels[depth - 1].object)
            return;
        Level& level = levels[depth - 1];
        text += level.empty ? "\n" : ",\n";
        level.empty = false;
        Indent(depth);
    }

    void String(const std::string& value)
    {
        const bool asItStands = std::all_of(value.begin(), value.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\';
        });
        if (!asItStands) {
            text += LevelBaseline::EntryText(Json(value));  // escapes as the library does
            return;
        }
        text += '"';
        text += value;
        text += '"';
    }

    std::string text;
    std::vector<Level> levels;
    std::size_t depth = 0;
    bool inOrder = true;
};

// The SAX handler: follows where in the document each value stands and stops (returns false)
// at the first thing that is not plain.
class Scanner {
public:
    explicit Scanner(std::vector<Record>& records) : entries(records) {}

    // Inside an entry every event also goes to the entry's text (LevelEntryRecord::text).
    bool null()
    {
        if (layout.Writing())
            layout.Null();
        return Scalar(Value{Value::Null, Json(), false, nullptr});
    }
    bool boolean(bool flag)
    {
        if (layout.Writing())
            layout.Bool(flag);
        return Scalar(Value{Value::Bool, Json(), flag, nullptr});
    }
    bool number_integer(Json::number_integer_t number)
    {
        if (layout.Writing())
            layout.Integer(number);
        return Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool number_unsigned(Json::number_unsigned_t number)
    {
        if (layout.Writing())
            layout.Integer(number);
        return Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool number_float(Json::number_float_t number, const std::string&)
    {
        if (layout.Writing())
            layout.Float(number);
        return Scalar(Value{Value::Number, Json(number), false, nullptr});
    }
    bool string(std::string& text)
    {
        if (layout.Writing())
            layout.Value(text);
        return Scalar(Value{Value::String, Json(), false, &text});
    }
    bool binary(Json::binary_t&) { return false; }
    bool start_object(std::size_t)
    {
        if (layout.Writing() || (stack.size() == 1 && stack.back().frame == Frame::Top))
            layout.Open(true);
        return Open(true);
    }
    bool start_array(std::size_t)
    {
        if (layout.Writing())
            layout.Open(false);
        return Open(false);
    }
    bool end_object()
    {
        if (layout.Writing())
            layout.Close();
        return Close();
    }
    bool end_array()
    {
        if (layout.Writing())
            layout.Close();
        return Close();
    }
    bool key(std::string& name)
    {
        if (stack.size() == 1 && stack.back().frame == Frame::Top) {
            entries.emplace_back();
            entries.back().key = name;
        }
        if (layout.Writing())
            layout.Key(name);
        lastKey = name;
        return true;
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
        const std::span<const FieldSpec> fields = Components[static_cast<std::size_t>(component)].fields;
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
            if (!FirstTime(Fields().seen, bit) || object != (field->kind == FieldKind::Color))
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
        if (lastKey == EventsMember) {
            if (!object || !FirstTime(seen, EventsBit))
                return false;
            entry.hasEvents = true;
            return Push(Frame::Events);
        }
        if (lastKey == "Handle")
            return false;
        if (lastKey == ControllerMember) {
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
        if (ComponentOf(lastKey) || lastKey == EventsMember)
            return false;
        if (lastKey == ControllerMember) {
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
        entry.text = layout.Finish();
        entryMembers = 0;
        if (!entry.hasHandle)
            return false;
        for (std::size_t c = 0; c < Components.size(); ++c) {
            const Record::Fields& fields = entry.components[c];
            if (fields.present && fields.seen != Components[c].required)
                return false;
        }
        return true;
    }

    std::vector<Record>& entries;
    EntryLayout layout;  // while inside an entry
    std::vector<Level> stack;
    std::string lastKey;
    std::uint16_t entryMembers = 0;  // component bits by LevelEntryRecord::IndexOf, then the bits above

public:
    bool topLevelSeen = false;
};

template <typename T, typename Name>
bool SortedWithoutRepeats(std::vector<T>& items, Name&& name)
{
    const auto before = [&](const T& a, const T& b) { return name(a) < name(b); };
    if (!std::is_sorted(items.begin(), items.end(), before))  // as the game writes them, usually
        std::stable_sort(items.begin(), items.end(), before);
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

// Reads JSON text into the scanner's handler far faster than the library's lexer, which keeps
// every character it reads for its error messages. It takes only the forms level files use:
// strings of printable ASCII with the short escapes, whole numbers of up to 18 digits, and
// other numbers that std::from_chars reads to a finite double (correctly rounded, as the
// library's strtod). Anything else, a fault or a refusal by the handler included, stops it,
// and the scan runs again through the library, which decides.
template <typename Handler>
class QuickReader {
public:
    QuickReader(std::string_view text, Handler& target) : at(text.data()), end(text.data() + text.size()), handler(target) {}

    // True when the whole text was read and the handler took every part of it.
    bool Read()
    {
        if (!Value())
            return false;
        SkipLayout();
        return at == end;
    }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

    void SkipLayout()
    {
        while (at < end && IsLayout(*at))
            ++at;
    }

    // The handler refuses documents deeper than the readers allow, which bounds the recursion.
    bool Value()
    {
        SkipLayout();
        if (at == end)
            return false;
        switch (*at) {
        case '{':
            return Object();
        case '[':
            return Array();
        case '"':
            return String() && handler.string(buffer);
        case 't':
            return Literal("true") && handler.boolean(true);
        case 'f':
            return Literal("false") && handler.boolean(false);
        case 'n':
            return Literal("null") && handler.null();
        default:
            return Number();
        }
    }

    bool Object()
    {
        ++at;
        if (!handler.start_object(std::size_t(-1)))
            return false;
        SkipLayout();
        if (at < end && *at == '}') {
            ++at;
            return handler.end_object();
        }
        for (;;) {
            SkipLayout();
            if (at == end || *at != '"' || !String() || !handler.key(buffer))
                return false;
            SkipLayout();
            if (at == end || *at != ':')
                return false;
            ++at;
            if (!Value())
                return false;
            SkipLayout();
            if (at == end)
                return false;
            if (*at++ == '}')
                return handler.end_object();
            if (at[-1] != ',')
                return false;
        }
    }

    bool Array()
    {
        ++at;
        if (!handler.start_array(std::size_t(-1)))
            return false;
        SkipLayout();
        if (at < end && *at == ']') {
            ++at;
            return handler.end_array();
        }
        for (;;) {
            if (!Value())
                return false;
            SkipLayout();
            if (at == end)
                return false;
            if (*at++ == ']')
                return handler.end_array();
            if (at[-1] != ',')
                return false;
        }
    }

    // Into `buffer`, unescaped.
    bool String()
    {
        buffer.clear();
        ++at;
        for (;;) {
            const char* run = at;
            while (at < end && static_cast<unsigned char>(*at) >= 0x20 && static_cast<unsigned char>(*at) < 0x80 &&
                   *at != '"' && *at != '\\')
                ++at;
            buffer.append(run, static_cast<std::size_t>(at - run));
            if (at == end)
                return false;
            if (*at == '"') {
                ++at;
                return true;
            }
            if (*at != '\\' || end - at < 2)
                return false;
            switch (at[1]) {
            case '"':
            case '\\':
            case '/':
                buffer += at[1];
                break;
            case 'b':
                buffer += '\b';
                break;
            case 'f':
                buffer += '\f';
                break;
            case 'n':
                buffer += '\n';
                break;
            case 'r':
                buffer += '\r';
                break;
            case 't':
                buffer += '\t';
                break;
            default:
                return false;  // \u and the rest are left to the library
            }
            at += 2;
        }
    }

    bool Literal(std::string_view word)
    {
        if (static_cast<std::size_t>(end - at) < word.size() || std::string_view(at, word.size()) != word)
            return false;
        at += word.size();
        return true;
    }

    bool Digits()
    {
        if (at == end || !IsDigit(*at))
            return false;
        while (at < end && IsDigit(*at))
            ++at;
        return true;
    }

    // The JSON number grammar; the library gives a whole number as unsigned unless it is
    // negative, and anything with a fraction or an exponent as a double.
    bool Number()
    {
        const char* const start = at;
        const bool negative = *at == '-';
        if (negative)
            ++at;
        if (at < end && *at == '0')
            ++at;
        else if (!Digits())
            return false;
        const char* const wholeEnd = at;
        bool whole = true;
        if (at < end && *at == '.') {
            ++at;
            if (!Digits())
                return false;
            whole = false;
        }
        if (at < end && (*at == 'e' || *at == 'E')) {
            ++at;
            if (at < end && (*at == '+' || *at == '-'))
                ++at;
            if (!Digits())
                return false;
            whole = false;
        }
        if (whole) {
            const char* digit = start + (negative ? 1 : 0);
            if (wholeEnd - digit > 18)
                return false;
            std::uint64_t value = 0;
            for (; digit < wholeEnd; ++digit)
                value = value * 10 + static_cast<std::uint64_t>(*digit - '0');
            if (negative)
                return handler.number_integer(-static_cast<Json::number_integer_t>(value));
            return handler.number_unsigned(value);
        }
        double value = 0.0;
        const std::from_chars_result read = std::from_chars(start, at, value);
        if (read.ec != std::errc() || read.ptr != at || !std::isfinite(value))
            return false;
        return handler.number_float(value, noText);
    }

    const char* at;
    const char* const end;
    Handler& handler;
    std::string buffer;
    const std::string noText;
};

}  // namespace

bool LevelScanner::Scan(const std::string& text, std::vector<LevelEntryRecord>& entries)
{
    entries.clear();
    // Both readers below would take a NUL byte as the end of the text; the general reader refuses it.
    if (text.find('\0') != std::string::npos)
        return false;
    bool read = false;
    {
        Scanner scanner(entries);
        QuickReader<Scanner> quick(text, scanner);
        read = quick.Read() && scanner.topLevelSeen;
    }
    if (!read) {
        // Not in the forms the quick reader takes, or not plain: the library decides.
        entries.clear();
        Scanner scanner(entries);
        const std::string compact = WithoutLayout(text);
        try {
            if (!Json::sax_parse(compact.begin(), compact.end(), &scanner) || !scanner.topLevelSeen)
                return false;
        } catch (const std::exception&) {
            return false;  // the general reader reads it again and reports the fault
        }
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

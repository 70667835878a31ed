// Engine::LevelScanHandler: the level scanner's SAX handler. It follows where in a level file
// each value stands, fills the entry records and hands every event inside an entry to its
// layout; it stops (returns false) at the first thing that is not plain. Used by LevelScanner.
#pragma once

#include "data/EntryLayout.h"
#include "data/LevelEntryRecord.h"
#include "data/LevelScanSpecs.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace Engine {

class LevelScanHandler {
public:
    using Json = nlohmann::json;
    using Record = LevelEntryRecord;
    using Specs = LevelScanSpecs;

    explicit LevelScanHandler(std::vector<Record>& records) : entries(records) {}

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
        const Specs::Field* field = nullptr;
        int items = 0;
    };
    struct Value {
        enum Type { Null, Bool, Number, String } type;
        Json number;
        bool flag = false;
        std::string* text = nullptr;
    };

    Record& Entry() { return entries.back(); }
    Record::Fields& Fields() { return Entry().components[static_cast<std::size_t>(stack.back().component)]; }
    Specs::FieldSet& FieldsSeen() { return fieldsSeen[static_cast<std::size_t>(stack.back().component)]; }

    bool Push(Frame frame, int component = 0, const Specs::Field* field = nullptr);
    bool Open(bool object);
    bool OpenEntryMember(bool object);
    bool Scalar(const Value& value);
    bool EntryScalar(const Value& value);
    static bool StoreFloat(const Value& value, float& slot);
    bool StoreField(const Specs::Field& field, const Value& value);
    bool Close();
    bool CloseEntry();

    std::vector<Record>& entries;
    EntryLayout layout;  // while inside an entry
    std::vector<Level> stack;
    std::string lastKey;
    Specs::MemberSet entryMembers;                                   // of the entry being read
    std::array<Specs::FieldSet, Record::ComponentCount> fieldsSeen;  // of its components, by IndexOf

public:
    bool topLevelSeen = false;  // the document's top-level value has ended
};

}  // namespace Engine

// Engine::JsonReader: reads the members of one of the game's JSON files (level list, levels,
// archetypes, animation data) under the rule for malformed files. Every accessor checks the
// member's JSON type and throws FormatError naming the file and the members down to the fault;
// the operations of the level manager catch it, log it at error level and stop there.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Engine {

// A fault in a JSON file; what() is the whole log line.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class JsonReader {
public:
    using Json = nlohmann::json;

    explicit JsonReader(std::string fileName);

    // Parses the whole stream. A file that is not well-formed JSON is logged and gives false.
    bool Parse(std::istream& in, Json& document) const;
    // The same over a whole file's text already read.
    bool Parse(const std::string& text, Json& document) const;
    // False, logged as not well-formed, for a text holding a NUL byte: the library's lexer
    // takes one as the end of the input, so garbage after it would pass unseen.
    bool HoldsNoNul(std::string_view text) const;

    // Names one member for the error lines of everything read inside it; scopes nest.
    // The name must outlive the scope (a key of the document or a literal).
    class Scope {
    public:
        Scope(JsonReader& reader, std::string_view member);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        JsonReader& owner;
    };

    // The top level must be an object; the literal null counts as an object without members.
    void ExpectTopLevelObject(const Json& document) const;

    // A required member that must be a JSON object.
    const Json& Object(const Json& parent, std::string_view key) const;
    void ExpectObject(const Json& value, std::string_view key) const;

    // Fields stored as a one-item array; the item is taken. Ints from floats truncate toward zero.
    // A number that does not fit the field's type as a finite value is a fault.
    float Float(const Json& parent, std::string_view key) const;
    std::int32_t Int(const Json& parent, std::string_view key) const;
    bool Bool(const Json& parent, std::string_view key) const;
    std::string String(const Json& parent, std::string_view key) const;

    // Fields stored as the plain value ("Color" members, "Handle", "Sprite Sheet", level paths).
    float PlainFloat(const Json& parent, std::string_view key) const;
    std::string PlainString(const Json& parent, std::string_view key) const;

    // Item 0 of the one-item array at `index` of an array in hand (a handler item of "Events").
    std::string WrappedString(const Json& array, std::size_t index) const;
    // An array value that is already in hand (the handler list of an event).
    void ExpectArray(const Json& value, std::string_view key) const;

    [[noreturn]] void Fail(std::string_view key, std::string_view what) const;

    const std::string& FileName() const { return fileName; }

    // Deeper documents are refused by Parse.
    static constexpr int MaxDepth = 128;

    // Number conversions of the file format: none when the value does not fit an int32
    // (after truncation toward zero); an infinity for a float beyond the float range.
    static std::optional<std::int32_t> ToInt(const Json& number);
    static float ToFloat(const Json& number);

private:
    const Json& Member(const Json& parent, std::string_view key) const;
    const Json& Item(const Json& parent, std::string_view key) const;
    float FiniteFloat(const Json& number, std::string_view key) const;

    std::string fileName;
    std::vector<std::string_view> scopes;  // members entered, outermost first
};

}  // namespace Engine

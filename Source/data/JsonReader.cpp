#include "data/JsonReader.h"

#include "core/Log.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <iterator>

namespace Engine {

JsonReader::JsonReader(std::string name) : fileName(std::move(name)) {}

namespace {

// Builds the document as the library's own builder does, counting the open objects and arrays
// on the way: a deeper document would later be walked (and written back) recursively, which is
// where the stack runs out, so it is refused while it is read.
class DepthLimitedBuilder : public nlohmann::detail::json_sax_dom_parser<nlohmann::json> {
public:
    using Builder = nlohmann::detail::json_sax_dom_parser<nlohmann::json>;

    DepthLimitedBuilder(nlohmann::json& document, const std::string& name) : Builder(document), fileName(name) {}

    bool start_object(std::size_t members)
    {
        Open();
        return Builder::start_object(members);
    }
    bool start_array(std::size_t items)
    {
        Open();
        return Builder::start_array(items);
    }
    bool end_object()
    {
        --depth;
        return Builder::end_object();
    }
    bool end_array()
    {
        --depth;
        return Builder::end_array();
    }

private:
    void Open()
    {
        if (depth >= JsonReader::MaxDepth)
            throw FormatError(fmt::format("Could not read {}: it is nested deeper than {} levels", fileName, JsonReader::MaxDepth));
        ++depth;
    }

    const std::string& fileName;
    int depth = 0;  // objects and arrays open around the next value
};

}  // namespace

bool JsonReader::Parse(std::istream& in, Json& document) const
{
    // Read whole first: the parser is several times faster over bytes in memory than over a stream.
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return Parse(text, document);
}

bool JsonReader::HoldsNoNul(std::string_view text) const
{
    const std::size_t nul = text.find('\0');
    if (nul == std::string_view::npos)
        return true;
    const std::string_view before = text.substr(0, nul);
    const std::size_t lineStart = before.rfind('\n');
    const std::size_t line = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
    const std::size_t column = lineStart == std::string_view::npos ? nul + 1 : nul - lineStart;
    LogError("Could not read {}: not well-formed JSON (a NUL byte at line {}, column {})", fileName, line, column);
    return false;
}

bool JsonReader::Parse(const std::string& text, Json& document) const
{
    if (!HoldsNoNul(text))
        return false;
    try {
        Json parsed;
        DepthLimitedBuilder builder(parsed, fileName);
        Json::sax_parse(text.begin(), text.end(), &builder);
        document = std::move(parsed);
        return true;
    } catch (const FormatError& error) {
        LogError(error.what());
        return false;
    } catch (const Json::exception& error) {
        // The library's text starts with its own error code in brackets; the rest is the position.
        std::string_view detail = error.what();
        if (const auto end = detail.find("] "); end != std::string_view::npos)
            detail.remove_prefix(end + 2);
        LogError("Could not read {}: not well-formed JSON ({})", fileName, detail);
        return false;
    }
}

JsonReader::Scope::Scope(JsonReader& reader, std::string_view member) : owner(reader)
{
    owner.scopes.push_back(member);
}

JsonReader::Scope::~Scope() { owner.scopes.pop_back(); }

void JsonReader::Fail(std::string_view key, std::string_view what) const
{
    std::string where;
    for (std::string_view scope : scopes) {
        where += '"';
        where += scope;
        where += "\" > ";
    }
    if (key.empty() && !where.empty())
        where.resize(where.size() - 3);
    else if (key.empty())
        where = "the top level";
    else {
        where += '"';
        where += key;
        where += '"';
    }
    throw FormatError(fmt::format("Could not read {}: {} at {}", fileName, what, where));
}

void JsonReader::ExpectTopLevelObject(const Json& document) const
{
    if (!document.is_object() && !document.is_null())
        Fail("", "expected an object");
}

const JsonReader::Json& JsonReader::Member(const Json& parent, std::string_view key) const
{
    const auto found = parent.find(key);
    if (found == parent.end())
        Fail(key, "a required member is missing");
    return *found;
}

const JsonReader::Json& JsonReader::Object(const Json& parent, std::string_view key) const
{
    const Json& value = Member(parent, key);
    ExpectObject(value, key);
    return value;
}

void JsonReader::ExpectObject(const Json& value, std::string_view key) const
{
    if (!value.is_object())
        Fail(key, "expected an object");
}

void JsonReader::ExpectArray(const Json& value, std::string_view key) const
{
    if (!value.is_array())
        Fail(key, "expected an array");
}

const JsonReader::Json& JsonReader::Item(const Json& parent, std::string_view key) const
{
    const Json& value = Member(parent, key);
    if (!value.is_array())
        Fail(key, "expected a value wrapped in an array");
    if (value.empty())
        Fail(key, "the array is empty");
    return value[0];
}

float JsonReader::Float(const Json& parent, std::string_view key) const
{
    const Json& item = Item(parent, key);
    if (!item.is_number())
        Fail(key, "expected a number");
    return FiniteFloat(item, key);
}

std::int32_t JsonReader::Int(const Json& parent, std::string_view key) const
{
    const Json& item = Item(parent, key);
    if (!item.is_number())
        Fail(key, "expected a number");
    const std::optional<std::int32_t> value = ToInt(item);
    if (!value)
        Fail(key, "expected a whole number within the range of a 32-bit integer");
    return *value;
}

float JsonReader::FiniteFloat(const Json& number, std::string_view key) const
{
    const float value = ToFloat(number);
    if (!std::isfinite(value))
        Fail(key, "expected a number within the range of a float");
    return value;
}

bool JsonReader::Bool(const Json& parent, std::string_view key) const
{
    const Json& item = Item(parent, key);
    if (!item.is_boolean())
        Fail(key, "expected true or false");
    return item.get<bool>();
}

std::string JsonReader::String(const Json& parent, std::string_view key) const
{
    const Json& item = Item(parent, key);
    if (!item.is_string())
        Fail(key, "expected a string");
    return item.get<std::string>();
}

std::string JsonReader::WrappedString(const Json& array, std::size_t index) const
{
    const Json& value = array[index];
    if (value.is_array() && !value.empty() && value[0].is_string())
        return value[0].get<std::string>();
    const std::string key = "item " + std::to_string(index);
    if (!value.is_array())
        Fail(key, "expected a value wrapped in an array");
    if (value.empty())
        Fail(key, "the array is empty");
    Fail(key, "expected a string");
}

float JsonReader::PlainFloat(const Json& parent, std::string_view key) const
{
    const Json& value = Member(parent, key);
    if (!value.is_number())
        Fail(key, "expected a plain number");
    return FiniteFloat(value, key);
}

std::string JsonReader::PlainString(const Json& parent, std::string_view key) const
{
    const Json& value = Member(parent, key);
    if (!value.is_string())
        Fail(key, "expected a plain string");
    return value.get<std::string>();
}

std::optional<std::int32_t> JsonReader::ToInt(const Json& number)
{
    using Limits = std::numeric_limits<std::int32_t>;
    if (number.is_number_unsigned()) {
        const auto value = number.get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(Limits::max()))
            return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    if (number.is_number_integer()) {
        const auto value = number.get<std::int64_t>();
        if (value > Limits::max() || value < Limits::min())
            return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    // Tested before the conversion, which would be undefined for a value outside the range.
    const double value = std::trunc(number.get<double>());
    if (!(value >= static_cast<double>(Limits::min()) && value <= static_cast<double>(Limits::max())))
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

float JsonReader::ToFloat(const Json& number)
{
    // A double beyond the float range is an infinity here (the conversion itself would be
    // undefined), and the accessors refuse it.
    constexpr float infinity = std::numeric_limits<float>::infinity();
    const double value = number.get<double>();
    if (value > static_cast<double>(std::numeric_limits<float>::max()))
        return infinity;
    if (value < -static_cast<double>(std::numeric_limits<float>::max()))
        return -infinity;
    return static_cast<float>(value);
}

}  // namespace Engine

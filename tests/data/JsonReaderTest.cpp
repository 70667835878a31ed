// Number conversions of the file format are never faults: ints from floats truncate toward
// zero and values beyond the range of an int saturate instead of wrapping.
#include "data/JsonReader.h"

#include <gtest/gtest.h>

#include <limits>

using Engine::JsonReader;
using Json = nlohmann::json;

TEST(JsonReader, IntFieldsTruncateTowardZeroAndSaturate)
{
    constexpr std::int32_t Max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t Min = std::numeric_limits<std::int32_t>::min();
    struct Case {
        const char* text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"[4.9]", 4},
        {"[-2.7]", -2},
        {"[-0.5]", 0},
        {"[7]", 7},
        {"[-7]", -7},
        {"[2147483647]", Max},
        {"[2147483648]", Max},
        {"[-2147483649]", Min},
        {"[18446744073709551615]", Max},
        {"[1e300]", Max},
        {"[-1e300]", Min},
    };
    const JsonReader reader("numbers.json");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Json parent = {{"Value", Json::parse(c.text)}};
        EXPECT_EQ(reader.Int(parent, "Value"), c.expected);
    }
    EXPECT_FLOAT_EQ(reader.Float(Json{{"Value", Json::array({900})}}, "Value"), 900.0f);
    EXPECT_THROW(reader.Int(Json{{"Value", Json::array({true})}}, "Value"), Engine::FormatError);
    EXPECT_THROW(reader.Float(Json{{"Value", Json::array({"1.0"})}}, "Value"), Engine::FormatError);
}

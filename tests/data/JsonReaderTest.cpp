// Number conversions of the file format: ints from floats truncate toward zero, and a number
// that does not fit its field's type as a finite value is a fault, never a wrapped, saturated
// or infinite field.
#include "data/JsonReader.h"

#include <gtest/gtest.h>

#include <limits>

using Engine::JsonReader;
using Json = nlohmann::json;

TEST(JsonReader, IntFieldsTruncateTowardZero)
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
        {"[2147483647.9]", Max},
        {"[-2147483648]", Min},
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

TEST(JsonReader, NumbersThatDoNotFitTheirFieldAsFiniteValuesAreFaults)
{
    struct Case {
        const char* text;
        bool intField;
    };
    const std::vector<Case> cases = {
        {"[2147483648]", true},           {"[-2147483649]", true}, {"[18446744073709551615]", true},
        {"[1e300]", true},                {"[-1e300]", true},      {"[1.7e308]", true},
        {"[1e39]", false},                {"[-1e39]", false},      {"[-1.7e308]", false},
        {"[3.5e38]", false},
    };
    const JsonReader reader("numbers.json");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const Json parent = {{"Value", Json::parse(c.text)}};
        try {
            if (c.intField)
                reader.Int(parent, "Value");
            else
                reader.Float(parent, "Value");
            ADD_FAILURE() << "accepted";
        } catch (const Engine::FormatError& error) {
            EXPECT_NE(std::string(error.what()).find("Could not read numbers.json: expected "), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("at \"Value\""), std::string::npos) << error.what();
        }
    }
    // A plain colour member follows the same rule; the largest float still fits.
    EXPECT_THROW(reader.PlainFloat(Json{{"X", Json::parse("1e39")}}, "X"), Engine::FormatError);
    EXPECT_EQ(reader.Float(Json{{"Value", Json::array({3.4028234663852886e38})}}, "Value"), std::numeric_limits<float>::max());
}

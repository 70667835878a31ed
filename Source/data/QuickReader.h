// Engine::QuickReader: reads JSON text in the forms level files use into a SAX handler, as
// nlohmann::json::sax_parse would but far faster. Engine::LevelScanner reads a level with it
// first and goes through the library whenever it stops.
#pragma once

#include <nlohmann/json.hpp>

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace Engine {

// The library's lexer keeps every character it reads for its error messages; this one takes
// only the forms level files use: strings of printable ASCII with the short escapes, whole
// numbers of up to 18 digits, and other numbers that std::from_chars reads to a finite double
// (correctly rounded, as the library's strtod). Anything else, a fault or a refusal by the
// handler included, stops it, and the scan runs again through the library, which decides.
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

    // The whitespace JSON allows between tokens.
    static bool IsLayout(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

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
                return handler.number_integer(-static_cast<nlohmann::json::number_integer_t>(value));
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

}  // namespace Engine

// Engine::EntryLayout: writes one level entry's text as LevelBaseline::EntryText lays it out,
// straight from the parse events of a SAX reader, with no document between. Engine::LevelScanner
// feeds it each event inside an entry, so the baseline gets its text from the scan itself.
#pragma once

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

namespace Engine {

// The layout is the JSON library's with an indentation of 4. Members are written in the order
// they come; an entry whose members somewhere are not in byte order of their keys, or repeat
// one, is laid out through the library at the end, which orders them and keeps the last of a
// repeated key as the document does.
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
    void Float(double number);
    void Value(const std::string& value)
    {
        Separate();
        String(value);
    }

    // The entry's text, and the layout ready for the next entry (the text is made in one
    // buffer for all of them, and each entry keeps a copy of just its own size).
    std::string Finish();

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
            Escaped(value);
            return;
        }
        text += '"';
        text += value;
        text += '"';
    }
    // A string with characters the library escapes, written as it escapes them.
    void Escaped(const std::string& value);

    std::string text;
    std::vector<Level> levels;
    std::size_t depth = 0;
    bool inOrder = true;
};

}  // namespace Engine

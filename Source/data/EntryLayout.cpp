#include "data/EntryLayout.h"

#include "data/LevelBaseline.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace Engine {

void EntryLayout::Float(double number)
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

std::string EntryLayout::Finish()
{
    std::string done = inOrder ? text : LevelBaseline::EntryText(nlohmann::json::parse(text));
    text.clear();
    inOrder = true;
    return done;
}

void EntryLayout::Escaped(const std::string& value)
{
    text += LevelBaseline::EntryText(nlohmann::json(value));
}

}  // namespace Engine

#include "platform/KeyNames.h"

#include "platform/VirtualKeys.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace Platform {
namespace {

struct NamedKey {
    std::uint8_t key;
    std::string_view name;
};

constexpr NamedKey NamedKeys[] = {
    {VirtualKey::Backspace, "Backspace"}, {VirtualKey::Tab, "Tab"},       {VirtualKey::Return, "Return"},
    {VirtualKey::Shift, "Shift"},         {VirtualKey::Control, "Control"}, {VirtualKey::Alt, "Alt"},
    {VirtualKey::Escape, "Escape"},       {VirtualKey::Space, "Space"},   {VirtualKey::PageUp, "PageUp"},
    {VirtualKey::PageDown, "PageDown"},   {VirtualKey::End, "End"},       {VirtualKey::Home, "Home"},
    {VirtualKey::Left, "Left"},           {VirtualKey::Up, "Up"},         {VirtualKey::Right, "Right"},
    {VirtualKey::Down, "Down"},           {VirtualKey::Insert, "Insert"}, {VirtualKey::Delete, "Delete"},
    {VirtualKey::BackQuote, "`"},
};

using Name = std::array<char, 12>;  // "Keypad9" and "0xFF" fit with their terminator

std::array<Name, 256> MakeNames()
{
    std::array<Name, 256> names{};
    for (int key = 0; key < 256; ++key) {
        Name& name = names[static_cast<std::size_t>(key)];
        if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
            std::snprintf(name.data(), name.size(), "%c", key);
        else if (key >= VirtualKey::Keypad0 && key <= VirtualKey::Keypad0 + 9)
            std::snprintf(name.data(), name.size(), "Keypad%d", key - VirtualKey::Keypad0);
        else if (key >= VirtualKey::F1 && key < VirtualKey::F1 + 12)
            std::snprintf(name.data(), name.size(), "F%d", key - VirtualKey::F1 + 1);
        else
            std::snprintf(name.data(), name.size(), "0x%02X", key);
    }
    for (const NamedKey& named : NamedKeys)
        std::snprintf(names[named.key].data(), names[named.key].size(), "%.*s",
                      static_cast<int>(named.name.size()), named.name.data());
    return names;
}

}  // namespace

const char* KeyName(std::uint8_t key)
{
    static const std::array<Name, 256> names = MakeNames();
    return names[key].data();
}

}  // namespace Platform

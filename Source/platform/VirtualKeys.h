// Names of the one-byte Windows virtual-key codes the engine's key bindings and held-key
// queries use (platform/KeyMap turns SDL keys into them). Letters and digits are their
// upper-case character codes, so 'F' needs no name.
#pragma once

#include <cstdint>

namespace Platform::VirtualKey {

inline constexpr std::uint8_t Backspace = 0x08;
inline constexpr std::uint8_t Return = 0x0D;
inline constexpr std::uint8_t Shift = 0x10;
inline constexpr std::uint8_t Control = 0x11;
inline constexpr std::uint8_t Alt = 0x12;
inline constexpr std::uint8_t Left = 0x25;
inline constexpr std::uint8_t Up = 0x26;
inline constexpr std::uint8_t Right = 0x27;
inline constexpr std::uint8_t Down = 0x28;
inline constexpr std::uint8_t Delete = 0x2E;
inline constexpr std::uint8_t BackQuote = 0xC0;

}  // namespace Platform::VirtualKey

// Names of the one-byte Windows virtual-key codes the engine's key bindings and held-key
// queries use (platform/KeyMap turns SDL keys into them). Letters and digits are their
// upper-case character codes, so 'F' needs no name.
#pragma once

#include <cstdint>

namespace Platform::VirtualKey {

inline constexpr std::uint8_t Backspace = 0x08;
inline constexpr std::uint8_t Tab = 0x09;
inline constexpr std::uint8_t Return = 0x0D;
inline constexpr std::uint8_t Shift = 0x10;
inline constexpr std::uint8_t Control = 0x11;
inline constexpr std::uint8_t Alt = 0x12;
inline constexpr std::uint8_t Escape = 0x1B;
inline constexpr std::uint8_t Space = 0x20;
inline constexpr std::uint8_t PageUp = 0x21;
inline constexpr std::uint8_t PageDown = 0x22;
inline constexpr std::uint8_t End = 0x23;
inline constexpr std::uint8_t Home = 0x24;
inline constexpr std::uint8_t Left = 0x25;
inline constexpr std::uint8_t Up = 0x26;
inline constexpr std::uint8_t Right = 0x27;
inline constexpr std::uint8_t Down = 0x28;
inline constexpr std::uint8_t Insert = 0x2D;
inline constexpr std::uint8_t Delete = 0x2E;
inline constexpr std::uint8_t Keypad0 = 0x60;  // the keypad runs 0x60 to 0x6F
inline constexpr std::uint8_t F1 = 0x70;       // F1 to F12 run 0x70 to 0x7B
inline constexpr std::uint8_t BackQuote = 0xC0;

// F1 to F12 by number.
constexpr std::uint8_t Function(int number) { return static_cast<std::uint8_t>(F1 + number - 1); }

}  // namespace Platform::VirtualKey

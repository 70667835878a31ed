// Printable names of the one-byte virtual-key codes, for log lines: letters and digits as
// themselves, the named keys by name ("Return", "Left", "F7", "`"), any other code as
// "0xNN". The input manager logs every binding and press through it, so the log stays text.
#pragma once

#include <cstdint>

namespace Platform {

// A name that lives for the whole program; never null, never empty.
const char* KeyName(std::uint8_t key);

}  // namespace Platform

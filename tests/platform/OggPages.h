// Splits an Ogg file into its pages, for the sound tests that build damaged files from the
// shipped ones page by page.
#pragma once

#include <string>
#include <vector>

namespace SoundTests {

// Each page starts "OggS"; its size follows from its segment table.
std::vector<std::string> OggPages(const std::string& data);

}  // namespace SoundTests

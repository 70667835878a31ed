// Platform::StudioBank: one loaded sound-bank file and the event paths it defined. The format
// (a readable text file of "event" entries) is described in Resources/Audio/README.md.
// StudioSystem::LoadBankFile reads banks through Read and owns the result.
#pragma once

#include "platform/StudioEventDescription.h"
#include "platform/StudioResult.h"

#include <istream>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

class StudioBank {
public:
    // The first line that is not blank or a comment must be exactly this.
    static constexpr const char* FormatLine = "soundbank 1";

    explicit StudioBank(std::string bankPath) : path(std::move(bankPath)) {}

    // Parses the bank text into event definitions. Each faulty line is logged as
    // "<file>:<line>: <fault>" and drops the entry it belongs to; the other entries stay.
    // Returns StudioErrorFileBad when the text is not a sound bank at all.
    int Read(std::istream& text, std::vector<StudioEventDefinition>& definitions) const;

    const std::string& Path() const { return path; }
    // Event paths this bank added to the system, in file order.
    const std::vector<std::string>& EventPaths() const { return eventPaths; }
    void AddEventPath(const std::string& eventPath) { eventPaths.push_back(eventPath); }

private:
    std::string path;
    std::vector<std::string> eventPaths;
};

}  // namespace Platform

// Engine::ArchetypeFile: the archetype list file, read into ArchetypeRecords, an object stored
// into it as the archetype of its name, and an archetype removed from it. The level manager's
// archetype operations run it with the manager's path and records.
#pragma once

#include "data/ArchetypeRecord.h"
#include "data/SafeFileWriter.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace Engine {

class ArchetypeFile {
public:
    // Both are kept by reference: the file is the caller's, for the length of one operation.
    ArchetypeFile(const std::filesystem::path& path, const SafeFileWriter::ReplaceFunction& replaceFile);

    // Appends the file's archetypes in key order. One faulty archetype is skipped and the
    // others are read.
    void Read(std::vector<std::unique_ptr<ArchetypeRecord>>& archetypes) const;
    // Writes the live object as the archetype of its name; true when the file was written.
    bool Store(std::uint32_t objectId) const;
    // Removes the member of that name from the file.
    void Remove(const std::string& name) const;

private:
    const std::filesystem::path& path;
    const SafeFileWriter::ReplaceFunction& replaceFile;
};

}  // namespace Engine

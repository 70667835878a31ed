#include "data/LevelFile.h"

#include "core/Log.h"
#include "data/EntryReader.h"
#include "data/GuardedRead.h"
#include "data/JsonReader.h"
#include "data/LevelEntryRecord.h"
#include "data/LevelManager.h"
#include "data/LevelScanner.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

namespace Engine {

namespace {

constexpr const char* LevelNotFound = "Could not find the loaded level's Json file in Resources Levels";

std::string ReadText(std::ifstream& in)
{
    std::string text;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), size);
        text.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    }
    // Whatever the size said, the rest of the stream is read too.
    in.clear();
    text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return text;
}

}  // namespace

void LevelEntryVisitor::Visit(LevelEntryRecord&) {}

LevelWalk ForEachLevelEntry(const std::string& name, LevelEntryVisitor& visitor)
{
    const LevelManager& levels = LevelManager::Instance();
    const std::optional<std::size_t> index = levels.FindLevelIndex(name);
    if (!index || *index >= levels.levelPaths.size()) {
        LogError(LevelNotFound);
        return LevelWalk::NotRead;
    }
    const std::string& path = levels.levelPaths[*index];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        LogError(LevelNotFound);
        return LevelWalk::NotRead;
    }
    const std::string text = ReadText(in);
    in.close();

    // A file in the plain shape the game writes is read straight into records; any other is
    // read as a document, which reports what is wrong with it. Both give the same entries.
    std::vector<LevelEntryRecord> records;
    const bool plain = visitor.TakesRecords() && LevelScanner::Scan(text, records);
    JsonReader reader(path);
    nlohmann::json document;
    if (!plain && (!reader.Parse(text, document) || !Guarded(reader, [&] { reader.ExpectTopLevelObject(document); })))
        return LevelWalk::NotRead;

    visitor.Begin();
    if (plain) {
        for (LevelEntryRecord& record : records)
            visitor.Visit(record);
        return LevelWalk::Whole;
    }
    const EntryReader entries(reader);
    const bool whole = Guarded(reader, [&] {
        for (const auto& [key, entry] : document.items()) {
            reader.ExpectObject(entry, key);
            JsonReader::Scope scope(reader, key);
            visitor.Visit(reader, entries, key, entry);
        }
    });
    return whole ? LevelWalk::Whole : LevelWalk::Stopped;
}

}  // namespace Engine

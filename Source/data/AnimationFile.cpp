#include "data/AnimationFile.h"

#include "core/AnimationTable.h"
#include "data/GuardedRead.h"
#include "data/JsonReader.h"

#include <utility>

namespace Engine {

namespace {

constexpr const char* AnimationsNotFound = "Could not find the Animation Data json file in Resources/Aniamtions";

}  // namespace

void AnimationFile::Read(const std::filesystem::path& path, std::vector<std::string>& handles, AnimationTable& table)
{
    JsonReader reader(path.string());
    nlohmann::json document;
    if (!ReadDocument(path, AnimationsNotFound, reader, document))
        return;

    // The animation system reads the file again on every update while it has no definitions;
    // a read that registers nothing must then not list names, or the list grows every frame.
    const std::size_t listedBefore = handles.size();
    Guarded(reader, [&] {
        if (!document.is_object())
            reader.Fail("", "expected an object");
        for (const auto& [key, definition] : document.items()) {
            reader.ExpectObject(definition, key);
            JsonReader::Scope scope(reader, key);
            std::string name = reader.PlainString(definition, "Handle");
            handles.push_back(name);  // listed even when a later member is faulty

            AnimationData data;
            data.frameCount = reader.Int(definition, "Frame Count");
            data.rows = reader.Int(definition, "Rows");
            data.columns = reader.Int(definition, "Columns");
            data.frameDelay = reader.Float(definition, "Frame Delay");
            data.looping = reader.Bool(definition, "Looping");
            data.spriteSheet = reader.PlainString(definition, "Sprite Sheet");
            table.Add(name, std::move(data));
        }
    });
    if (table.definitions.empty())
        handles.resize(listedBefore);
}

}  // namespace Engine

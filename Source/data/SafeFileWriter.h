// Engine::SafeFileWriter: replaces a whole file so that it is never left half-written: the text
// goes to a temporary file beside the target, is flushed, and only then renamed over the old
// file. Used by every save of Engine::LevelManager (levels, archetypes).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace Engine {

class SafeFileWriter {
public:
    // The last step: moves the finished temporary file over the target.
    using ReplaceFunction =
        std::function<void(const std::filesystem::path& temporary, const std::filesystem::path& target, std::error_code& error)>;

    enum class Result {
        Written,
        CannotOpen,  // the temporary file could not be created; nothing was written
        Failed,      // writing or replacing failed (logged); the old file is untouched
    };

    static void Rename(const std::filesystem::path& temporary, const std::filesystem::path& target, std::error_code& error);

    // `reason`, when given, receives the system's word on why a write did not happen.
    static Result Write(const std::filesystem::path& target, std::string_view text, const ReplaceFunction& replace = Rename,
                        std::string* reason = nullptr);

    // Where the text waits before it replaces the target: the same folder, so the rename
    // never crosses file systems.
    static std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);
};

}  // namespace Engine

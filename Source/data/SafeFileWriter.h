// Engine::SafeFileWriter: replaces a whole file so that it is never left half-written: the text
// goes to a temporary file beside the target, is flushed, and only then renamed over the old
// file. A target the user made read-only is refused, and a symbolic link is written through:
// its target is replaced and the link stays. Used by every save of Engine::LevelManager
// (levels, archetypes), the script editor and the leaderboard file.
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
        CannotOpen,  // the target has no write permission, or the temporary file could not be
                     // created; nothing was written
        Failed,      // writing or replacing failed (logged); the old file is untouched
    };

    static void Rename(const std::filesystem::path& temporary, const std::filesystem::path& target, std::error_code& error);

    // `reason`, when given, receives the system's word on why a write did not happen.
    static Result Write(const std::filesystem::path& target, std::string_view text, const ReplaceFunction& replace = Rename,
                        std::string* reason = nullptr);

    // Where the text waits before it replaces the target: the same folder, so the rename
    // never crosses file systems.
    static std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

    // The file a write to `target` replaces: the end of its chain of symbolic links, or the
    // target itself.
    static std::filesystem::path FileBehind(const std::filesystem::path& target);
    // The file exists and has no write bit for anyone: a write to it is refused.
    static bool IsReadOnly(const std::filesystem::path& file);
    static constexpr const char* ReadOnlyReason = "the file is read-only";
};

}  // namespace Engine

#include "data/SafeFileWriter.h"

#include "core/Log.h"

#include <cerrno>
#include <fstream>
#include <system_error>

namespace Engine {

void SafeFileWriter::Rename(const std::filesystem::path& temporary, const std::filesystem::path& target, std::error_code& error)
{
    std::filesystem::rename(temporary, target, error);
}

std::filesystem::path SafeFileWriter::TemporaryPathFor(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".saving";
    return temporary;
}

std::filesystem::path SafeFileWriter::FileBehind(const std::filesystem::path& target)
{
    // Bounded, as the system bounds it, so that a loop of links ends.
    constexpr int MaxLinks = 40;
    std::filesystem::path file = target;
    std::error_code error;
    for (int i = 0; i < MaxLinks && std::filesystem::is_symlink(std::filesystem::symlink_status(file, error)); ++i) {
        const std::filesystem::path next = std::filesystem::read_symlink(file, error);
        if (error)
            break;
        file = next.is_absolute() ? next : file.parent_path() / next;
    }
    return file;
}

namespace {

std::string SystemReason(int error) { return std::generic_category().message(error); }

}  // namespace

// The rename in Write would replace a file whatever its mode, and root may open any file, so
// the mode bits decide: a file without any write bit was made read-only on purpose.
bool SafeFileWriter::IsReadOnly(const std::filesystem::path& file)
{
    using std::filesystem::perms;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error || !std::filesystem::exists(status))
        return false;
    return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

SafeFileWriter::Result SafeFileWriter::Write(const std::filesystem::path& target, std::string_view text, const ReplaceFunction& replace,
                                             std::string* reason)
{
    std::string ignoredReason;
    std::string& why = reason != nullptr ? *reason : ignoredReason;
    const std::filesystem::path file = FileBehind(target);
    if (IsReadOnly(file)) {
        why = ReadOnlyReason;
        return Result::CannotOpen;
    }
    const std::filesystem::path temporary = TemporaryPathFor(file);
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) {
        why = errno != 0 ? SystemReason(errno) : "the file could not be created";
        return Result::CannotOpen;
    }
    errno = 0;

    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    const bool written = out.good();
    out.close();

    const int writeError = errno;
    std::error_code error;
    if (!written || out.fail()) {
        why = writeError != 0 ? SystemReason(writeError) : "the data could not be written";
        LogError("Could not save {}: writing {} failed ({}); the old file is kept", target.string(), temporary.string(), why);
    } else {
        replace(temporary, file, error);
        if (!error)
            return Result::Written;
        why = error.message();
        LogError("Could not save {}: replacing it failed ({}); the old file is kept", target.string(), why);
    }
    std::error_code ignored;  // the temporary file is useless now; a leftover does no harm
    std::filesystem::remove(temporary, ignored);
    return Result::Failed;
}

}  // namespace Engine

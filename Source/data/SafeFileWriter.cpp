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

namespace {
std::string SystemReason(int error) { return std::generic_category().message(error); }
}  // namespace

SafeFileWriter::Result SafeFileWriter::Write(const std::filesystem::path& target, std::string_view text, const ReplaceFunction& replace,
                                             std::string* reason)
{
    std::string ignoredReason;
    std::string& why = reason != nullptr ? *reason : ignoredReason;
    const std::filesystem::path temporary = TemporaryPathFor(target);
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
        replace(temporary, target, error);
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

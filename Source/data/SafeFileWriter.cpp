#include "data/SafeFileWriter.h"

#include "core/Log.h"

#include <fstream>

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

SafeFileWriter::Result SafeFileWriter::Write(const std::filesystem::path& target, std::string_view text, const ReplaceFunction& replace)
{
    const std::filesystem::path temporary = TemporaryPathFor(target);
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out)
        return Result::CannotOpen;

    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    const bool written = out.good();
    out.close();

    std::error_code error;
    if (!written || out.fail()) {
        LogError("Could not save {}: writing {} failed; the old file is kept", target.string(), temporary.string());
    } else {
        replace(temporary, target, error);
        if (!error)
            return Result::Written;
        LogError("Could not save {}: replacing it failed ({}); the old file is kept", target.string(), error.message());
    }
    std::error_code ignored;  // the temporary file is useless now; a leftover does no harm
    std::filesystem::remove(temporary, ignored);
    return Result::Failed;
}

}  // namespace Engine

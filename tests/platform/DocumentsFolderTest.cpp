#include "platform/DocumentsFolder.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

struct FolderCase {
    const char* xdgDocuments;  // null: unset
    std::filesystem::path expected;
};

TEST(DocumentsFolder, PrefersXdgDocumentsDirThenHomeDocumentsAndCreatesIt)
{
    const std::filesystem::path home = TestSupport::TemporaryHome();
    const std::filesystem::path xdg = home / "xdg" / "Docs";
    const std::vector<FolderCase> cases = {
        {nullptr, home / "Documents"},
        {"", home / "Documents"},
        {xdg.c_str(), xdg},
    };
    for (const FolderCase& folderCase : cases) {
        std::filesystem::remove_all(folderCase.expected);
        if (folderCase.xdgDocuments == nullptr)
            unsetenv("XDG_DOCUMENTS_DIR");
        else
            setenv("XDG_DOCUMENTS_DIR", folderCase.xdgDocuments, 1);
        EXPECT_EQ(Platform::DocumentsFolder(), folderCase.expected);
        EXPECT_TRUE(std::filesystem::is_directory(folderCase.expected)) << folderCase.expected;
    }
    unsetenv("XDG_DOCUMENTS_DIR");
}

}  // namespace

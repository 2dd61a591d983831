// The write-access test through the security descriptor, as far as Wine can show it. An
// access list that grants no writing is refused on both. Wine builds the descriptor of a file
// without one of its own from the Unix permission bits, so there a folder closed with chmod,
// or given the read-only attribute, is refused too, where Windows ignores that attribute on
// folders: that case is left out, since Wine cannot give the Windows answer.
#include "platform/write_access.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <filesystem>

namespace tavrel::platform {
namespace {

namespace fs = std::filesystem;

[[nodiscard]] std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

class WriteAccessTest : public ::testing::Test {
protected:
    const fs::path folder =
        fs::temp_directory_path() /
        (fs::path(u8"tavrel gr\u00FC\u00DFe ").native() + std::to_wstring(GetCurrentProcessId()));

    WriteAccessTest() { fs::create_directories(folder); }
    ~WriteAccessTest() override {
        // Everyone may write again, so that the folder can go.
        setAccessList(L"D:(A;OICI;FA;;;WD)");
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Replaces the folder's access list with one given in the system's descriptor language.
    bool setAccessList(const wchar_t* sddl) const {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                  &descriptor, nullptr)) {
            return false;
        }
        const bool set =
            SetFileSecurityW(folder.c_str(), DACL_SECURITY_INFORMATION, descriptor) != FALSE;
        LocalFree(descriptor);
        return set;
    }
};

TEST_F(WriteAccessTest, grantsAFolderOfOurOwnAndRefusesWhatIsNotThere) {
    EXPECT_TRUE(canWrite(utf8Of(folder)));
    EXPECT_FALSE(canWrite(utf8Of(folder / "missing")));
    EXPECT_FALSE(canWrite("C:\\no such folder\\x"));
}

TEST_F(WriteAccessTest, anAccessListWithoutWritingRefuses) {
    // Protected (no inherited entries): everyone may read and enter, nobody may write.
    ASSERT_TRUE(setAccessList(L"D:P(A;OICI;FRFX;;;WD)"));
    EXPECT_FALSE(canWrite(utf8Of(folder)));
    ASSERT_TRUE(setAccessList(L"D:P(A;OICI;FA;;;WD)"));
    EXPECT_TRUE(canWrite(utf8Of(folder)));
}

} // namespace
} // namespace tavrel::platform

// Recovery files: their names, that one never replaces another, and the note the next start
// reports once.
#include "app/recovery_file.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

namespace tavrel {
namespace {

using test::readFile;
using test::TempFolder;

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

// Writes plainly, as the atomic writer would when nothing goes wrong.
WriteStatus plainWrite(const std::string& path, std::string_view bytes) {
    test::writeFile(path, bytes);
    return {};
}

// Makes a new file with the C library's exclusive mode, which takes no existing name. The C
// library of Windows has no such fopen mode, only its open() has it.
NewFileOutcome plainMake(const std::string& path, std::string_view bytes, std::string*) {
#ifdef _WIN32
    const int descriptor =
        ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    std::FILE* file = descriptor < 0 ? nullptr : ::_fdopen(descriptor, "wb");
#else
    std::FILE* file = std::fopen(path.c_str(), "wbx");
#endif
    if (file == nullptr) {
        return NewFileOutcome::NameTaken;
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return NewFileOutcome::Created;
}

TEST(RecoveryFile, namesCarryTheDocumentsNameAndTheTime) {
    const std::tm when = at(2026, 12, 7, 9, 5, 3);
    EXPECT_EQ(recoveryFileName("/home/u/art/report.nfo", when),
              "report (recovered 2026-12-07 09-05-03).nfo");
    EXPECT_EQ(recoveryFileName("", when), "Untitled (recovered 2026-12-07 09-05-03).txt");
    EXPECT_EQ(recoveryFileName("/x/README", when), "README (recovered 2026-12-07 09-05-03)");
    EXPECT_EQ(recoveryFileName("/x/.profile", when), ".profile (recovered 2026-12-07 09-05-03)");
    EXPECT_EQ(recoveryFileName("/x/a.tar.gz", when), "a.tar (recovered 2026-12-07 09-05-03).gz");
}

TEST(RecoveryFile, aSecondCopyInTheSameSecondNeverReplacesTheFirst) {
    const TempFolder folder;
    const std::tm when = at(2026, 1, 2, 3, 4, 5);
    const auto first = keepRecoveryCopy(folder.folderText(), "/d/notes.txt", "first text", when,
                                        plainMake, plainWrite);
    const auto second = keepRecoveryCopy(folder.folderText(), "/d/notes.txt", "second text", when,
                                         plainMake, plainWrite);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first, folder / "notes (recovered 2026-01-02 03-04-05).txt");
    EXPECT_EQ(*second, folder / "notes (recovered 2026-01-02 03-04-05) 2.txt");
    EXPECT_EQ(readFile(*first), "first text");
    EXPECT_EQ(readFile(*second), "second text");

    // The next start learns of both, once.
    EXPECT_EQ(takeRecoveryNote(folder.folderText()), (std::vector<std::string>{*first, *second}));
    EXPECT_FALSE(std::filesystem::exists(folder / kRecoveryNoteName));
    EXPECT_TRUE(takeRecoveryNote(folder.folderText()).empty());
    EXPECT_EQ(readFile(*first), "first text"); // reporting keeps the copies
}

TEST(RecoveryFile, aFailedWriteSaysWhyAndLeavesNoNote) {
    const TempFolder folder;
    std::string error;
    const auto kept = keepRecoveryCopy(
        folder.folderText(), "/d/a.nfo", "text", at(2026, 1, 1, 0, 0, 0),
        [](const std::string&, std::string_view, std::string* why) {
            *why = "No space left on device";
            return NewFileOutcome::Failed;
        },
        plainWrite, &error);
    EXPECT_FALSE(kept);
    EXPECT_EQ(error, "No space left on device");
    EXPECT_TRUE(takeRecoveryNote(folder.folderText()).empty());
}

TEST(RecoveryFile, aNoteWrittenElsewhereWithCrLfReadsTheSame) {
    const TempFolder folder;
    test::writeFile(folder / kRecoveryNoteName, "/a/one.txt\r\n\r\n/b/two.nfo");
    EXPECT_EQ(takeRecoveryNote(folder.folderText()),
              (std::vector<std::string>{"/a/one.txt", "/b/two.nfo"}));
}

} // namespace
} // namespace tavrel

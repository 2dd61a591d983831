// Files whose names are not ASCII, named in UTF-8 as the program keeps every name: read whole
// and in part, loaded and saved as settings, written and moved, on every system.
#include "app/document_file.h"
#include "settings/config_saver.h"
#include "support/temp_folder.h"
#include "text/file_names.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace tavrel {
namespace {

// Latin letters and a sign the Windows ANSI code page has, then characters it lacks.
const char* const kNames[] = {"Grüße €.nfo", "日本語 ☺.txt", "Ελληνικά.diz"};

// Saves through the program's own way of opening a file by its UTF-8 name.
WriteStatus saveByName(const std::string& path, std::string_view bytes) {
    std::FILE* file = openFile(path, "wb");
    if (file == nullptr) {
        return {"cannot open " + path};
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? WriteStatus{} : WriteStatus{"cannot write " + path};
}

TEST(FileNames, filesNamedOutsideAsciiAreReadSavedAndMoved) {
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const test::TempFolder folder;
        // Made and checked by the test's own UTF-8 paths, apart from the code under test.
        const std::string path = folder / name;
        // The settings file's own form: a blank line after each section.
        test::writeFile(path, "[Options]\r\nWordWrap=0\r\n\r\n");

        std::string error;
        EXPECT_EQ(readWholeFile(path, &error), "[Options]\r\nWordWrap=0\r\n\r\n") << error;
        bool truncated = false;
        EXPECT_EQ(readFileHead(path, 9, truncated, &error), "[Options]") << error;
        EXPECT_TRUE(truncated);
        EXPECT_TRUE(hasWriteBit(path));

        const auto store = ConfigSaver::openIni(path, saveByName);
        EXPECT_FALSE(store->readBool("Options", "WordWrap", true));
        store->writeBool("Options", "WordWrap", true);
        ASSERT_TRUE(store->flush().ok());
        EXPECT_EQ(test::readFile(path), "[Options]\r\nWordWrap=1\r\n\r\n");

        const std::string moved = folder / (std::string("moved ") + name);
        std::error_code code;
        std::filesystem::rename(pathFromUtf8(path), pathFromUtf8(moved), code);
        EXPECT_FALSE(code) << code.message();
        EXPECT_EQ(test::readFile(moved), "[Options]\r\nWordWrap=1\r\n\r\n");
        EXPECT_FALSE(std::filesystem::exists(test::pathFromUtf8(path)));
        EXPECT_EQ(utf8FromPath(pathFromUtf8(moved)), moved);
    }
}

} // namespace
} // namespace tavrel

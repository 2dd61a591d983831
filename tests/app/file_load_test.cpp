// Loading a file into a document of its own: the same text as the repair and the break rules
// give when written out plainly, progress that grows, a cancel that leaves nothing behind,
// and a clear failure for what cannot be read.
#include "app/file_load.h"

#include "editor/text_engine.h"
#include "line_ends_reference.h"
#include "support/corpus.h"
#include "support/temp_folder.h"
#include "text/unicode_art.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace tavrel::test {
namespace {

// The text the document shows, worked out the plain way: every byte, NULs included, with
// breaks (CR LF, LF CR, a lone CR or LF) written as CR LF.
std::string plainDocumentText(std::string bytes, bool repair) {
    if (repair) {
        bytes = literalLineEndRepair(bytes);
    }
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        const char other = c == '\r' ? '\n' : '\r';
        if (i + 1 < bytes.size() && bytes[i + 1] == other) {
            ++i;
        }
    }
    return out;
}

FileLoad::Status runLoad(FileLoad& load) {
    load.run();
    return load.status();
}

TEST(FileLoad, corpusFilesGiveTheTextOfThePlainRulesAndOfTheEditorsOwnLoad) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpusDir();
    }
    for (const auto& path : files) {
        if (path.extension() == ".ans") {
            continue; // drawn ANSI art and its record: ansi_window_test.cpp holds those
        }
        const std::string raw = readFile(path);
        // As the bytes stand, and as the automatic choice reads them (Unicode art decoded
        // to its code page 437 bytes first, as the detector's own tests check).
        for (const EncodingChoice encoding : {EncodingChoice::Cp437, EncodingChoice::Automatic}) {
            const std::string bytes =
                encoding == EncodingChoice::Automatic ? decodeUnicodeArt(raw).bytes : raw;
            for (const bool convert : {true, false}) {
                SCOPED_TRACE(path.string() + (convert ? " converted" : " as it is") +
                             (encoding == EncodingChoice::Automatic ? ", automatic" : ""));
                FileLoad load(path.string(), FileLoadRules{convert, false, encoding});
                ASSERT_EQ(runLoad(load), FileLoad::Status::Done);
                const std::string text = load.document().text();
                EXPECT_EQ(text, plainDocumentText(bytes, convert));
                // The way the window loaded before: the whole text handed to the engine.
                TextEngine engine;
                if (convert) {
                    engine.paragraphs().setText(plainDocumentText(bytes, true));
                } else {
                    engine.loadBytes(std::string(bytes));
                }
                EXPECT_EQ(load.document().paragraphCount(), engine.document().paragraphCount());
            }
        }
    }
}

TEST(FileLoad, trailingBlanksGoOnlyWhenAskedAndTheEngineTakesTheDocumentWhole) {
    TempFolder folder;
    const std::string path = folder / "blanks.txt";
    writeFile(path, "one  \r\ntwo\t\r\n");
    FileLoad kept(path, FileLoadRules{false, false});
    FileLoad trimmed(path, FileLoadRules{false, true});
    ASSERT_EQ(runLoad(kept), FileLoad::Status::Done);
    ASSERT_EQ(runLoad(trimmed), FileLoad::Status::Done);
    EXPECT_EQ(kept.document().text(), "one  \r\ntwo\t\r\n");
    EXPECT_EQ(trimmed.document().text(), "one\r\ntwo\r\n");

    TextEngine engine;
    engine.loadBytes("old text");
    engine.setSelStart(3);
    engine.adoptDocument(trimmed.document(), trimmed.result());
    EXPECT_EQ(engine.paragraphs().text(), "one\r\ntwo\r\n");
    EXPECT_EQ(engine.selection().caret(), 0);
    EXPECT_FALSE(engine.canUndo());
    EXPECT_EQ(trimmed.document().text(), "old text"); // given back, to be dropped
    EXPECT_EQ(engine.consistencyCheck(), "");
}

// 40 MB: five pieces of the read at least.
std::string bigFile(const TempFolder& folder) {
    const std::string path = folder / "big.txt";
    std::string line(79, 'x');
    line += '\n';
    std::string bytes;
    bytes.reserve(40u << 20);
    while (bytes.size() < (40u << 20)) {
        bytes += line;
    }
    writeFile(path, bytes);
    return path;
}

TEST(FileLoad, progressGrowsFromNothingToAllInSteps) {
    TempFolder folder;
    FileLoad load(bigFile(folder), FileLoadRules{true, false});
    std::vector<int> seen;
    load.onProgress = [&seen](int percent) { seen.push_back(percent); };
    ASSERT_EQ(runLoad(load), FileLoad::Status::Done);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GE(std::count_if(seen.begin(), seen.end(), [](int p) { return p > 0 && p < 70; }), 2);
    // Every LF of a Unix file became CR LF.
    EXPECT_EQ(load.document().charCount(), Pos(40u << 20) + load.document().paragraphCount() - 1);
}

TEST(FileLoad, aCancelStopsTheReadAndLeavesAnEmptyDocument) {
    TempFolder folder;
    FileLoad load(bigFile(folder), FileLoadRules{true, false});
    int calls = 0;
    load.onProgress = [&](int percent) {
        ++calls;
        if (percent > 0) {
            load.cancel(); // as the window's thread would, between two pieces
        }
    };
    EXPECT_EQ(runLoad(load), FileLoad::Status::Cancelled);
    EXPECT_EQ(load.document().charCount(), 0);
    EXPECT_EQ(calls, 2); // no piece read after the cancel
    EXPECT_TRUE(load.reason().empty());
}

TEST(FileLoad, whatCannotBeReadFailsWithTheSystemsReason) {
    TempFolder folder;
    FileLoad missing(folder / "gone.nfo", FileLoadRules{});
    EXPECT_EQ(runLoad(missing), FileLoad::Status::Failed);
    EXPECT_EQ(missing.reason(), std::strerror(ENOENT));
    FileLoad directory(folder.path().string(), FileLoadRules{});
    EXPECT_EQ(runLoad(directory), FileLoad::Status::Failed);
    EXPECT_EQ(directory.reason(), std::strerror(EISDIR));
}

} // namespace
} // namespace tavrel::test

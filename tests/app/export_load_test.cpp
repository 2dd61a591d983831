// Every corpus file loaded as the window loads it and as an export loads it, under each
// encoding choice, with and without the line-end repair: the documents must be the same
// byte for byte, and a first screen must be the start of the window's document, whole
// paragraphs only.
#include "app/export_load.h"

#include "app/file_load.h"
#include "app/settings_catalogue.h"
#include "editor/text_engine.h"
#include "support/corpus.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavrel::test {
namespace {

constexpr EncodingChoice kEncodings[] = {EncodingChoice::Automatic, EncodingChoice::Cp437,
                                         EncodingChoice::Windows1252, EncodingChoice::Utf8,
                                         EncodingChoice::Utf16};

TEST(ExportLoad, corpusFilesGiveTheWindowsDocumentUnderEveryEncodingAndRepair) {
    const auto files = corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << corpusDir();
    }
    for (const auto& path : files) {
        const std::uint64_t size = std::filesystem::file_size(path);
        for (const EncodingChoice encoding : kEncodings) {
            for (const bool convert : {true, false}) {
                SCOPED_TRACE(path.string() + " encoding " +
                             std::to_string(static_cast<int>(encoding)) +
                             (convert ? " converted" : " as it is"));
                // The window: the load on its own, its document then taken by the engine.
                FileLoad load(path.string(), FileLoadRules{convert, false, encoding});
                load.run();
                ASSERT_EQ(load.status(), FileLoad::Status::Done);
                TextEngine window;
                window.adoptDocument(load.document(), load.result(), !convert);
                const std::string shown = window.document().text();

                AppSettings settings;
                settings.convert = convert;
                settings.encoding = static_cast<std::int32_t>(encoding);
                TextEngine exported;
                std::string error;
                ASSERT_TRUE(loadForExport(exported, path.string(), settings, 0, error)) << error;
                EXPECT_EQ(exported.document().text(), shown);
                EXPECT_EQ(exported.document().paragraphCount(), window.document().paragraphCount());

                // A first screen: the head of the window's text, ending where a paragraph
                // ends, unless the head holds no break at all. A short head makes most
                // files' first screens cut ones; under the choices that look for UTF-8 art,
                // such a head can pass for art that the whole file is not.
                const bool looksForArt =
                    encoding == EncodingChoice::Automatic || encoding == EncodingChoice::Utf8;
                for (const std::size_t limit : {std::size_t(256) << 10, std::size_t(700)}) {
                    if (size <= limit || (limit < 1000 && looksForArt)) {
                        continue;
                    }
                    SCOPED_TRACE("first screen of " + std::to_string(limit) + " bytes");
                    TextEngine thumbnail;
                    ASSERT_TRUE(loadForExport(thumbnail, path.string(), settings, limit, error));
                    const std::string head = thumbnail.document().text();
                    EXPECT_EQ(shown.substr(0, head.size()), head);
                    if (thumbnail.document().paragraphCount() > 1) {
                        EXPECT_EQ(thumbnail.document().paragraph(
                                      thumbnail.document().paragraphCount() - 1),
                                  "");
                    }
                }
            }
        }
    }
}

TEST(ExportLoad, whatCannotBeReadIsReportedWithTheFilesNameAndLeavesTheText) {
    TextEngine engine;
    engine.loadBytes("kept");
    std::string error;
    const std::string missing = (corpusDir() / "no such file.nfo").string();
    EXPECT_FALSE(loadForExport(engine, missing, AppSettings{}, 0, error));
    EXPECT_EQ(error, missing + " does not exist");
    EXPECT_EQ(engine.document().text(), "kept");
}

} // namespace
} // namespace tavrel::test

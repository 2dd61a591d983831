// The keyword file's lines and the refresh that fills an editor's keyword list from it and
// colours the address styles.
#include <gtest/gtest.h>

#include "app/highlight_refresh.h"
#include "app/settings_catalogue.h"
#include "editor/editor_highlights.h"
#include "support/temp_folder.h"

namespace tavrel {
namespace {

using Lines = std::vector<std::string>;

TEST(KeywordFile, AnyLineEndEndsALineAndLinesAreKeptAsWritten) {
    EXPECT_EQ(keywordFileLines(""), Lines{});
    EXPECT_EQ(keywordFileLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(keywordFileLines("a\r\n"), (Lines{"a"}));
    EXPECT_EQ(keywordFileLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(keywordFileLines(" nfo  \t\r\n"), (Lines{" nfo  \t"}));
    EXPECT_EQ(keywordFileLines("a\n\rb"), (Lines{"a", "", "b"})); // LF then CR: two ends
    EXPECT_EQ(keywordFileText({"nfo", "", "x "}), "nfo\r\n\r\nx \r\n");
}

struct RefreshFixture {
    test::TempFolder folder;
    TextEngine engine;
    EditorHighlights highlights{engine};
    UrlHighlighter urls;
    AppSettings settings;

    RefreshFixture() {
        settings.highLight = true;
        settings.launch = true;
        settings.highlightColor = 0x0000FF00;
        settings.highlightBackground = 0x00000000;
    }
};

TEST(HighlightRefresh, FillsTheListFromTheFileAndColoursTheAddresses) {
    RefreshFixture f;
    const std::string path = f.folder / "highlight.dat";
    test::writeFile(path, "nfo\nGreets \r\n");
    attachAddressHighlighter(f.highlights, f.urls, f.settings);
    refreshHighlighting(f.highlights, f.urls, f.settings, path);
    const KeywordList& list = f.highlights.keywords();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.keyword(1), "Greets ");
    EXPECT_EQ(list.record(0).options, koWholeWords);
    EXPECT_EQ(list.record(0).foreground, 0x0000FF00u);
    EXPECT_EQ(list.record(0).background, 0u);
    EXPECT_EQ(list.record(0).context, 1);
    for (const UrlType t : {UrlType::Web, UrlType::Email, UrlType::File, UrlType::Other}) {
        EXPECT_EQ(f.urls.style(t).foreground, 0x0000FF00u);
        EXPECT_EQ(f.urls.style(t).background, 0u);
    }
    EXPECT_EQ(f.urls.style(UrlType::News).foreground, kClRed);
    EXPECT_EQ(f.urls.style(UrlType::News).background, kClNone);
    EXPECT_EQ(f.highlights.addressHighlighter(), &f.urls);
}

TEST(HighlightRefresh, OffOrMissingFileMeansNoKeywordsAndLaunchOffDetaches) {
    RefreshFixture f;
    const std::string path = f.folder / "highlight.dat";
    refreshHighlighting(f.highlights, f.urls, f.settings, path); // no file
    EXPECT_EQ(f.highlights.keywords().count(), 0);
    test::writeFile(path, "nfo\r\n");
    f.settings.highLight = false;
    refreshHighlighting(f.highlights, f.urls, f.settings, path);
    EXPECT_EQ(f.highlights.keywords().count(), 0);
    EXPECT_EQ(test::readFile(path), "nfo\r\n");
    f.settings.launch = false;
    attachAddressHighlighter(f.highlights, f.urls, f.settings);
    EXPECT_EQ(f.highlights.addressHighlighter(), nullptr);
}

} // namespace
} // namespace tavrel

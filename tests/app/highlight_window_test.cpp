// The window's highlighting commands: "Launch URLs on click", "Highlight Keywords" and the
// keyword dialog's save-and-refresh cycle, with clicks going to a recording launcher.
#include "window_fixture.h"

#include "editor/qt/keyword_dialog.h"

#include <QAction>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tavrel::test {
namespace {

class RecordingLauncher final : public AddressLauncher {
public:
    void open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

class HighlightWindowTest : public WindowTest {
protected:
    RecordingLauncher launcher;

    MainWindow& openWithLauncher(const std::string& path) {
        MainWindowSetup s = setup(path);
        s.launcher = &launcher;
        window = std::make_unique<MainWindow>(std::move(s));
        return *window;
    }

    // (start, length, context) of the first paragraph's runs.
    static std::vector<std::tuple<Pos, Pos, int>> runs(MainWindow& w) {
        std::vector<std::tuple<Pos, Pos, int>> out;
        for (const HighlightRun& r : w.editor().highlights().paragraphRuns(0)) {
            out.emplace_back(r.start, r.length, r.context);
        }
        return out;
    }
};

using Runs = std::vector<std::tuple<Pos, Pos, int>>;

TEST_F(HighlightWindowTest, LaunchUrlsOnClickSwitchesRecognitionStylingAndLaunching) {
    file("highlight.dat", "nfo\r\n");
    MainWindow& w = openWithLauncher(file("a.nfo", "see www.nfo.org nfo"));
    EXPECT_EQ(runs(w), (Runs{{4, 11, 1025}, {16, 3, 1}}));
    w.editor().highlights().mouseNote(MouseNote::Click, 6);
    EXPECT_EQ(launcher.opened, std::vector<std::string>{"www.nfo.org"});

    w.action("LaunchURLs1")->trigger();
    EXPECT_FALSE(w.options().launch);
    EXPECT_EQ(runs(w), (Runs{{8, 3, 1}, {16, 3, 1}})); // no address: the keyword shows
    w.editor().highlights().mouseNote(MouseNote::Click, 6);
    EXPECT_EQ(launcher.opened.size(), 1u);

    w.action("LaunchURLs1")->trigger();
    EXPECT_EQ(runs(w), (Runs{{4, 11, 1025}, {16, 3, 1}}));
}

TEST_F(HighlightWindowTest, HighlightKeywordsOffRemovesEveryKeywordAndLeavesTheFile) {
    const std::string list = file("highlight.dat", "nfo\nco\r\n");
    MainWindow& w = openWithLauncher(file("a.nfo", "nfo co-op co/op"));
    EXPECT_EQ(runs(w), (Runs{{0, 3, 1}, {10, 2, 1}}));
    w.action("Highlightkeywords1")->trigger();
    EXPECT_FALSE(w.options().highLight);
    EXPECT_EQ(runs(w), Runs{});
    EXPECT_EQ(readFile(list), "nfo\nco\r\n");
    w.action("Highlightkeywords1")->trigger();
    EXPECT_EQ(runs(w).size(), 2u);
}

TEST_F(HighlightWindowTest, TheDialogSavesOnCloseAndTheWindowHighlightsWhatWasTyped) {
    MainWindow& w = openWithLauncher(file("a.nfo", "greets to all"));
    EXPECT_EQ(runs(w), Runs{});
    w.action("Edithighlightlist1")->trigger();
    KeywordDialog* dialog = w.keywordDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    dialog->editor().engine().setSelText("GREETS\r\nall");
    dialog->close();
    const std::string path = folder / "highlight.dat";
    ASSERT_FALSE(written.empty());
    EXPECT_EQ(written.back(), (std::pair<std::string, std::string>{path, "GREETS\r\nall\r\n"}));
    EXPECT_EQ(runs(w), (Runs{{0, 6, 1}, {10, 3, 1}}));

    w.action("Edithighlightlist1")->trigger();
    EXPECT_EQ(w.keywordDialog(), dialog); // the same dialog, its text as left
    EXPECT_EQ(dialog->editor().engine().paragraphs().text(), "GREETS\r\nall");
    dialog->close();
}

TEST_F(HighlightWindowTest, AKeywordFileThatCannotBeWrittenIsReportedAndTheListStays) {
    MainWindow& w = openWithLauncher(file("a.nfo", "x"));
    w.action("Edithighlightlist1")->trigger();
    failWrites = true;
    w.keywordDialog()->editor().engine().setSelText("nfo");
    w.keywordDialog()->close();
    ASSERT_FALSE(dialogs.log.empty());
    EXPECT_EQ(dialogs.log.back().rfind("error:", 0), 0u);
    EXPECT_NE(dialogs.log.back().find(kSaveFailed), std::string::npos);
    EXPECT_EQ(w.keywordDialog()->editor().engine().paragraphs().text(), "nfo");
}

// A keyword file that is there but cannot be read is said in the message box; the dialog opens
// with an empty list and the unsaved text in the window stays.
struct UnreadableList {
    const char* name;
    void (*make)(const std::string& path);
    int reason; // the system's error number
    bool ordinaryUserOnly;
};

void PrintTo(const UnreadableList& list, std::ostream* out) {
    *out << list.name;
}

class UnreadableKeywordFile : public HighlightWindowTest,
                              public ::testing::WithParamInterface<UnreadableList> {};

TEST_P(UnreadableKeywordFile, IsReportedAndTheDialogOpensEmpty) {
    if (GetParam().ordinaryUserOnly && runningAsRoot()) {
        GTEST_SKIP() << kRootSkipReason;
    }
    const std::string path = folder / "highlight.dat";
    GetParam().make(path);
    MainWindow& w = openWithLauncher(file("a.nfo", "x"));
    type(w, "unsaved ");
    w.action("Edithighlightlist1")->trigger();
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0], "error:Error:" + kLoadFailed);
    EXPECT_EQ(dialogs.details[0], path + "\n" + std::strerror(GetParam().reason));
    ASSERT_NE(w.keywordDialog(), nullptr);
    EXPECT_TRUE(w.keywordDialog()->isVisible());
    EXPECT_EQ(w.keywordDialog()->editor().engine().charCount(), 0);
    EXPECT_EQ(text(w), "unsaved x");
    EXPECT_TRUE(w.isModified());
    // Closed without a keyword typed, it leaves the file it could not read alone.
    w.keywordDialog()->close();
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(dialogs.log.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Window, UnreadableKeywordFile,
    ::testing::Values(
        UnreadableList{"AFolder",
                       [](const std::string& path) { std::filesystem::create_directory(path); },
                       EISDIR, false},
        UnreadableList{"NoReadPermissionAsOrdinaryUser",
                       [](const std::string& path) {
                           writeFile(path, "nfo\r\n");
                           std::filesystem::permissions(path, std::filesystem::perms::owner_write);
                       },
                       EACCES, true}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace tavrel::test

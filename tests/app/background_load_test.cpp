// The window loading a large file on a worker thread, offscreen: the old document stays,
// read-only, until the new one is complete; Esc or another load keeps it untouched; a file
// that cannot be read midway reports as every load does and keeps it too.
#include "window_fixture.h"

#include "app/button_bar.h"
#include "app/file_load.h"
#include "app/load_progress_bar.h"
#include "app/notice_bar.h"
#include "editor/qt/text_editor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <filesystem>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

class BackgroundLoadWindow : public WindowTest {
protected:
    // Every load goes to the worker and shows its progress at once.
    MainWindow& openLoadingEverything() {
        MainWindowSetup s = setup();
        s.backgroundLoadBytes = 0;
        s.loadProgressDelayMs = 0;
        window = std::make_unique<MainWindow>(std::move(s));
        return *window;
    }

    // A shown window with "old text" loaded: the document a cancelled load must bring back.
    MainWindow& showingOld() {
        oldFile = file("old.nfo", "old text\r\n");
        MainWindow& w = openLoadingEverything();
        w.show();
        EXPECT_TRUE(w.load(oldFile));
        EXPECT_TRUE(waitForLoad(w));
        return w;
    }
    std::string oldFile;

    // Up to two minutes: the sanitizer build on a busy machine is that slow.
    static bool waitForLoad(MainWindow& w) {
        QElapsedTimer clock;
        clock.start();
        while (w.isLoading() && clock.elapsed() < 120000) {
            QTest::qWait(50);
        }
        return !w.isLoading();
    }

#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer build loads many times slower: a smaller file is caught loading too, still
    // more than the first piece read, so that the first screen shows before the whole.
    static constexpr std::size_t kBigBytes = std::size_t{16} << 20;
#else
    // Long enough to be caught loading on any machine.
    static constexpr std::size_t kBigBytes = std::size_t{64} << 20;
#endif
    static constexpr std::string_view kLine = "a line of a big file, long enough to be seen\n";
    static constexpr Pos kBigLines =
        (static_cast<Pos>(kBigBytes) + Pos(kLine.size()) - 1) / Pos(kLine.size());

    // Short lines up to kBigBytes.
    std::string bigFile() {
        const std::string path = folder / "big.nfo";
        std::string bytes;
        bytes.reserve(kBigBytes);
        while (bytes.size() < kBigBytes) {
            bytes += kLine;
        }
        writeFile(path, bytes);
        return path;
    }
};

TEST_F(BackgroundLoadWindow, aLoadInTheBackgroundEndsLikeASynchronousOne) {
    const std::string small = file("small.nfo", "one\ntwo\n");
    MainWindow& w = openLoadingEverything();
    ASSERT_TRUE(w.load(small));
    EXPECT_TRUE(w.isLoading());
    EXPECT_TRUE(w.editor().isReadOnly());
    ASSERT_TRUE(waitForLoad(w));
    EXPECT_EQ(text(w), "one\r\ntwo\r\n");
    EXPECT_EQ(w.fileName(), small);
    EXPECT_FALSE(w.isModified());
    EXPECT_FALSE(w.editor().isReadOnly());
    EXPECT_FALSE(w.loadProgress().isVisible());
    EXPECT_EQ(w.recentFiles().items().front(), small);
}

TEST_F(BackgroundLoadWindow, escKeepsTheOldDocumentUntouchedAndTheProgressShowedMeanwhile) {
    MainWindow& w = showingOld();
    const QString title = w.windowTitle();

    ASSERT_TRUE(w.load(bigFile()));
    ASSERT_TRUE(w.isLoading());
    QTRY_VERIFY_WITH_TIMEOUT(w.loadProgress().isVisible(), 5000);
    EXPECT_NE(w.loadProgress().caption().indexOf(QStringLiteral("big.nfo")), -1);
    // The editor ignores typing meanwhile: it would be lost with the old document.
    QTest::keyClicks(&w.editor(), QStringLiteral("xyz"));
    EXPECT_EQ(text(w), "old text\r\n");

    QTest::keyClick(&w.editor(), Qt::Key_Escape);
    EXPECT_FALSE(w.isLoading());
    EXPECT_FALSE(w.loadProgress().isVisible());
    QTest::qWait(300); // the cancelled worker may still end meanwhile; nothing of it shows
    EXPECT_EQ(text(w), "old text\r\n");
    EXPECT_EQ(w.fileName(), oldFile);
    EXPECT_EQ(w.windowTitle(), title);
    EXPECT_FALSE(w.isModified());
    EXPECT_FALSE(w.editor().isReadOnly());
    EXPECT_TRUE(dialogs.log.empty());
}

// The first screen: the file's first paragraphs, read-only, under its name while the progress
// line still shows; the caret and view the user gave them stay when the whole file arrives.
TEST_F(BackgroundLoadWindow, theFirstScreenShowsEarlyAndItsPlaceStaysWithTheWholeFile) {
    MainWindow& w = showingOld();
    ASSERT_TRUE(w.load(bigFile()));
    QTRY_VERIFY_WITH_TIMEOUT(w.firstPieceEditor() != nullptr || !w.isLoading(), 60000);
    TextEditor* first = w.firstPieceEditor();
    ASSERT_NE(first, nullptr) << "the load ended before its first screen";
    EXPECT_TRUE(w.isLoading());
    EXPECT_TRUE(w.loadProgress().isVisible());
    EXPECT_TRUE(first->isReadOnly());
    EXPECT_NE(w.windowTitle().indexOf(QStringLiteral("big.nfo")), -1);
    Document& shown = first->engine().document();
    ASSERT_GT(shown.paragraphCount(), 1000);
    const std::string line(kLine.substr(0, kLine.size() - 1));
    for (Pos p = 0; p < shown.paragraphCount(); ++p) {
        ASSERT_EQ(shown.paragraph(p), line) << p;
    }
    EXPECT_EQ(text(w), "old text\r\n") << "the old document stays behind it";
    // Copy takes what is shown, not the old document hidden behind it.
    first->engine().select(2, 6);
    w.copySelection();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), line.substr(2, 4));

    // A place in the first screen: paragraph 500, column 3, scrolled to it.
    const Pos caret = 500 * (Pos(line.size()) + 2) + 3;
    first->engine().select(caret, caret);
    // The view's top is compared as the text it shows: while the lines above are still
    // being wrapped, the same text sits at changing pixel offsets.
    first->setVerticalOffset(400 * first->lineHeight());
    const Pos top = first->layout().knownLineStart(first->topLine());
    ASSERT_GT(top, 0);
    ASSERT_TRUE(waitForLoad(w));
    EXPECT_EQ(w.firstPieceEditor(), nullptr);
    EXPECT_EQ(w.editor().engine().selection().caret(), caret);
    EXPECT_EQ(w.editor().layout().knownLineStart(w.editor().topLine()), top);
    EXPECT_EQ(w.editor().engine().document().paragraphCount(), kBigLines + 1);
    EXPECT_FALSE(w.editor().isReadOnly());
}

TEST_F(BackgroundLoadWindow, escAfterTheFirstScreenBringsBackTheOldDocumentAndTitle) {
    MainWindow& w = showingOld();
    const QString title = w.windowTitle();
    ASSERT_TRUE(w.load(bigFile()));
    QTRY_VERIFY_WITH_TIMEOUT(w.firstPieceEditor() != nullptr || !w.isLoading(), 60000);
    ASSERT_NE(w.firstPieceEditor(), nullptr) << "the load ended before its first screen";
    ASSERT_NE(w.windowTitle(), title);
    QTest::keyClick(w.firstPieceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(w.isLoading());
    EXPECT_EQ(w.firstPieceEditor(), nullptr);
    EXPECT_TRUE(w.editor().isVisible());
    EXPECT_EQ(w.windowTitle(), title);
    QTest::qWait(300);
    EXPECT_EQ(text(w), "old text\r\n");
    EXPECT_EQ(w.fileName(), oldFile);
    EXPECT_FALSE(w.editor().isReadOnly());
    EXPECT_FALSE(w.isModified());
}

TEST_F(BackgroundLoadWindow, progressReachesTheBarAndALaterLoadWinsOverARunningOne) {
    MainWindow& w = openLoadingEverything();
    w.show();
    const std::string big = bigFile();
    std::vector<int> seen;
    ASSERT_TRUE(w.load(big));
    QElapsedTimer clock;
    clock.start();
    while (w.isLoading() && clock.elapsed() < 120000) {
        seen.push_back(w.loadProgress().percent());
        QTest::qWait(10);
    }
    ASSERT_FALSE(w.isLoading());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int p) { return p > 0; }));
    EXPECT_EQ(w.fileName(), big);
    // Every LF became CR LF: a break counts two positions.
    EXPECT_EQ(w.editor().engine().charCount(), kBigLines * (Pos(kLine.size()) + 1));

    const std::string small = file("small.nfo", "small\r\n");
    ASSERT_TRUE(w.load(big));
    ASSERT_TRUE(w.load(small)); // the first is cancelled, the second shows
    ASSERT_TRUE(waitForLoad(w));
    QTest::qWait(300);
    EXPECT_EQ(text(w), "small\r\n");
    EXPECT_EQ(w.fileName(), small);
}

// Format commands and Undo act on the engine, past the read-only editor: an edit made so
// while loading is asked about before the loaded file replaces it.
TEST_F(BackgroundLoadWindow, anEditMadeWhileLoadingIsAskedAboutAndCancelKeepsIt) {
    const std::string old = file("old.nfo", "old\r\n");
    MainWindow& w = openLoadingEverything();
    ASSERT_TRUE(w.load(old));
    ASSERT_TRUE(waitForLoad(w));
    ASSERT_TRUE(w.load(bigFile()));
    type(w, "edited ");
    dialogs.saveAnswers.push_back(SaveAnswer::Cancel);
    ASSERT_TRUE(waitForLoad(w));
    QTest::qWait(100);
    EXPECT_EQ(text(w), "edited old\r\n");
    EXPECT_EQ(w.fileName(), old);
    EXPECT_TRUE(w.isModified());
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0], "ask:" + kSaveQuestion);

    // Unedited, the next load asks nothing.
    dialogs.log.clear();
    ASSERT_TRUE(w.load(old));
    ASSERT_TRUE(waitForLoad(w));
    EXPECT_EQ(text(w), "old\r\n");
    EXPECT_TRUE(dialogs.log.empty());
}

// Every command that edits or saves, by its menu item, shortcut, popup item or button, leaves
// the document behind a loading file's first screen alone: nothing is written, nothing asked.
TEST_F(BackgroundLoadWindow, noCommandEditsOrSavesTheOldDocumentWhileAFileLoads) {
    const std::string old = file("old.nfo", "old text\r\n");
    MainWindow& w = openLoadingEverything();
    w.show();
    ASSERT_TRUE(w.load(old));
    ASSERT_TRUE(waitForLoad(w));
    type(w, "declined "); // edited, and "No" was answered to saving it
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    const std::string big = bigFile();
    ASSERT_TRUE(w.load(big));
    ASSERT_TRUE(w.isLoading());
    const std::string before = text(w);

    for (const char* item :
         {"Undo1", "Redo1", "Deleteline1", "Cut1", "Paste1", "TimeDate1", "LinefeedtoWordwrap1",
          "Lowercase1", "Uppercase1", "CharsettoUTF81", "UTF8toCharset1", "Save1", "Saveas1"}) {
        w.editor().engine().select(0, 3);
        w.action(item)->trigger(); // as its shortcut does, with the menu closed
        EXPECT_EQ(text(w), before) << item;
    }
    Q_EMIT w.popupMenu()->aboutToShow();
    for (const char* item : {"Undo2", "Redo2", "Cut2", "Paste2"}) {
        w.popupAction(item)->trigger();
        EXPECT_EQ(text(w), before) << item;
    }
    for (QPushButton* button :
         {w.buttonBar().cutButton(), w.buttonBar().pasteButton(), w.buttonBar().saveButton()}) {
        button->click();
        EXPECT_EQ(text(w), before) << button->objectName().toStdString();
    }
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(readFile(old), "old text\r\n");
    EXPECT_TRUE(dialogs.log.empty()); // no Save As dialog either
    EXPECT_FALSE(w.notice().isHidden()) << "a refused shortcut says why";
    // The old file changed by another program meanwhile: no reason to drop the user's Open.
    writeFile(old, "changed meanwhile\r\n");
    QTest::qWait(4 * 150);

    ASSERT_TRUE(waitForLoad(w));
    QTest::qWait(100);
    EXPECT_EQ(w.fileName(), big);
    EXPECT_EQ(text(w).size(), std::size_t(kBigLines) * (kLine.size() + 1)); // CR added
    EXPECT_TRUE(dialogs.log.empty()) << "nothing to ask about";
}

// A file removed or rewritten after its load began is treated as a change made once it shows.
TEST_F(BackgroundLoadWindow, aFileRemovedOrRewrittenWhileLoadingIsNoticedOnceShown) {
    MainWindow& w = openLoadingEverything();
    w.show();
    const std::string removed = bigFile();
    ASSERT_TRUE(w.load(removed));
    // Removed once it is open and read from: earlier, the load itself fails and says so.
    QTRY_VERIFY_WITH_TIMEOUT(w.firstPieceEditor() != nullptr || !w.isLoading(), 60000);
    ASSERT_TRUE(w.isLoading()) << "the load ended before its first screen";
    fs::remove(removed);
    ASSERT_TRUE(waitForLoad(w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isModified(); }, 3000)) << "removal unnoticed";
    EXPECT_FALSE(w.notice().isHidden());

    const std::string rewritten = bigFile();
    ASSERT_TRUE(w.load(rewritten));
    writeFile(rewritten, "written meanwhile\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(w) == "written meanwhile\r\n"; }, 120000))
        << "the text read before the change stayed";
    EXPECT_FALSE(w.isModified());
}

TEST_F(BackgroundLoadWindow, aFileThatCannotBeReadKeepsTheOldDocumentAsOrdinaryUser) {
    if (runningAsRoot()) {
        GTEST_SKIP() << kRootSkipReason;
    }
    const std::string old = file("old.nfo", "kept\r\n");
    const std::string locked = file("locked.nfo", "secret\r\n");
    fs::permissions(locked, fs::perms::none);
    MainWindow& w = openLoadingEverything();
    ASSERT_TRUE(w.load(old));
    ASSERT_TRUE(waitForLoad(w));
    w.load(locked); // the size is known; the read fails on the worker
    ASSERT_TRUE(waitForLoad(w));
    EXPECT_EQ(text(w), "kept\r\n");
    EXPECT_EQ(w.fileName(), old);
    EXPECT_FALSE(w.editor().isReadOnly());
    ASSERT_EQ(dialogs.log.size(), 1u);
    EXPECT_EQ(dialogs.log[0], "plain:" + kLoadFailed);
    EXPECT_NE(dialogs.details[0].find("locked.nfo"), std::string::npos);
}

TEST_F(BackgroundLoadWindow, closingTheWindowWhileLoadingEndsTheWorker) {
    MainWindow& w = openLoadingEverything();
    w.show();
    ASSERT_TRUE(w.load(bigFile()));
    ASSERT_TRUE(w.isLoading());
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isLoading());
    window.reset(); // waits for the worker; a crash or a hang here is the fault
}

} // namespace
} // namespace tavrel::test

// The window's promise that nothing the user wrote is lost: a save that fails or is cancelled
// after Yes stops what asked, Save as asks about the name it really writes, a load or New
// starts a fresh undo history, a dropped file asks like every other load, and a name on the
// command line that is missing says so.
#include "window_fixture.h"

#include <QAction>
#include <QDialog>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;
using UnsavedWorkTest = WindowTest;

// --- Yes, then the save does not happen ---------------------------------------------------------

// Each way the window can replace or close its document, run on a modified document.
struct Replacement {
    const char* name;
    void (*run)(MainWindow& w, const std::string& other);
};

const Replacement kReplacements[] = {
    {"New", [](MainWindow& w, const std::string&) { w.newDocument(); }},
    {"Open", [](MainWindow& w, const std::string&) { w.open(); }},
    {"Recent", [](MainWindow& w, const std::string& other) { w.openRecent(other); }},
    {"Drop", [](MainWindow& w, const std::string& other) { w.dropFiles({other}); }},
};

TEST_F(UnsavedWorkTest, aFailedSaveAfterYesKeepsTheDocumentForEveryReplacingCommand) {
    for (const Replacement& command : kReplacements) {
        SCOPED_TRACE(command.name);
        MainWindow& w = open();
        const std::string other = file("other.txt", "other");
        ASSERT_TRUE(w.load(other)); // puts it in the recent files
        const std::string path = file("mine.txt", "on disk");
        ASSERT_TRUE(w.load(path));
        type(w, "typed ");
        failWrites = true;
        dialogs.log.clear();
        dialogs.saveAnswers = {SaveAnswer::Yes};
        dialogs.fileNames = {other}; // what the Open dialog would answer, were it reached
        command.run(w, other);
        EXPECT_EQ(dialogs.log,
                  (std::vector<std::string>{"ask:" + kSaveQuestion, "error:Error:" + kSaveFailed}));
        EXPECT_EQ(text(w), "typed on disk");
        EXPECT_EQ(w.fileName(), path);
        EXPECT_TRUE(w.isModified());
        failWrites = false;
    }
}

TEST_F(UnsavedWorkTest, aCancelledSaveAsAfterYesKeepsAnUnnamedDocumentForEveryReplacingCommand) {
    for (const Replacement& command : kReplacements) {
        SCOPED_TRACE(command.name);
        MainWindow& w = open();
        const std::string other = file("other.txt", "other");
        ASSERT_TRUE(w.load(other));
        w.newDocument();
        type(w, "draft");
        dialogs.log.clear();
        dialogs.saveAnswers = {SaveAnswer::Yes};
        dialogs.fileNames = {std::nullopt, other}; // Save as cancelled; Open would pick other
        command.run(w, other);
        EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask:" + kSaveQuestion, "save"}));
        EXPECT_EQ(text(w), "draft");
        EXPECT_EQ(w.fileName(), "");
        EXPECT_TRUE(w.isModified());
    }
}

TEST_F(UnsavedWorkTest, closingAfterYesAndAFailedSaveKeepsTheWindowOpenAndWritesNoSettings) {
    MainWindow& w = open();
    w.show();
    const std::string path = file("mine.txt", "on disk");
    ASSERT_TRUE(w.load(path));
    type(w, "typed ");
    failWrites = true;
    dialogs.saveAnswers = {SaveAnswer::Yes};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(text(w), "typed on disk");
    EXPECT_EQ(settings.readString("Info", "Version", ""), ""); // the close handler did not run

    // Yes with a save that works closes it.
    failWrites = false;
    dialogs.saveAnswers = {SaveAnswer::Yes};
    EXPECT_TRUE(w.close());
    EXPECT_EQ(readFile(path), "typed on disk");
}

// --- Save as and the name actually written ------------------------------------------------------

TEST_F(UnsavedWorkTest, saveAsAsksBeforeReplacingTheTxtFileItsAppendedNameHits) {
    MainWindow& w = open();
    const std::string existing = file("report.txt", "the old report");
    type(w, "new text");
    dialogs.fileNames = {folder / "report"}; // the dialog asked about "report", which is free
    EXPECT_FALSE(w.saveAs());                // the default answer, No
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"save", "confirm"}));
    EXPECT_EQ(dialogs.details, std::vector<std::string>{existing}); // the name it is about
    EXPECT_EQ(readFile(existing), "the old report");
    EXPECT_EQ(w.fileName(), "");
    EXPECT_TRUE(w.isModified());

    dialogs.log.clear();
    dialogs.fileNames = {folder / "report"};
    dialogs.confirmAnswers = {true};
    ASSERT_TRUE(w.saveAs());
    EXPECT_EQ(readFile(existing), "new text");
    EXPECT_EQ(w.fileName(), existing);

    // A name with its extension was asked about by the dialog itself: no second question.
    dialogs.log.clear();
    dialogs.fileNames = {existing};
    ASSERT_TRUE(w.saveAs());
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"save"});
}

// A name in Latin-1 ("café"), as old archives hold them, is bytes that are not UTF-8: the
// window hands the writer the very name it loaded from, byte for byte.
TEST_F(UnsavedWorkTest, aFileWhoseNameIsNotUtf8IsSavedUnderItsOwnName) {
    MainWindow& w = open();
    const std::string path = folder / "caf\xe9.txt";
    writeFile(path, "menu");
    ASSERT_TRUE(w.load(path));
    type(w, "new ");
    EXPECT_TRUE(w.save());
    EXPECT_EQ(dialogs.log, std::vector<std::string>{});
    ASSERT_EQ(written.size(), 1U);
    EXPECT_EQ(written.front().first, path);
    EXPECT_EQ(readFile(path), "new menu");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1);
}

// --- A fresh undo history -----------------------------------------------------------------------

TEST_F(UnsavedWorkTest, undoAfterALoadNeverBringsBackThePreviousDocument) {
    for (const bool convert : {true, false}) {
        SCOPED_TRACE(convert ? "with the line-end repair" : "without it");
        MainWindow& w = open();
        w.options().convert = convert;
        const std::string a = file("a.txt", "text of A");
        const std::string b = file("b.txt", "text of B");
        ASSERT_TRUE(w.load(a));
        type(w, "edit ");
        dialogs.saveAnswers = {SaveAnswer::No};
        w.openRecent(b);
        ASSERT_EQ(w.fileName(), b);
        w.editor().engine().undo();
        EXPECT_EQ(text(w), "text of B");
        EXPECT_FALSE(w.editor().engine().canUndo());
        EXPECT_FALSE(w.isModified());
        w.action("Save1")->trigger(); // Ctrl+S
        EXPECT_EQ(readFile(b), "text of B");
    }
}

TEST_F(UnsavedWorkTest, undoRightAfterStartingOnAFileLeavesItsText) {
    const std::string b = file("b.txt", "text of B");
    MainWindow& w = open(b);
    w.editor().engine().undo();
    EXPECT_EQ(text(w), "text of B");
    EXPECT_FALSE(w.editor().engine().canUndo());
}

TEST_F(UnsavedWorkTest, undoAfterNewLeavesTheEmptyDocument) {
    MainWindow& w = open();
    ASSERT_TRUE(w.load(file("a.txt", "text of A")));
    w.newDocument();
    w.editor().engine().undo();
    EXPECT_EQ(text(w), "");
    EXPECT_FALSE(w.editor().engine().canUndo());
}

// Runs the event loop until the condition holds, for two seconds at most.
void runEventsUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// A name handed over by a second start is taken on the window's timer, through the same
// question and load.
TEST_F(UnsavedWorkTest, aHandedOverFileAsksKeepsTheTextAfterAFailedSaveAndStartsAFreshHistory) {
    MainWindow& w = open();
    const std::string mine = file("mine.txt", "mine");
    const std::string handed = file("handed.txt", "handed");
    w.show(); // as at start-up: the first showing clears the modified flag
    ASSERT_TRUE(w.load(mine));
    type(w, "typed ");
    failWrites = true;
    dialogs.saveAnswers = {SaveAnswer::Yes};
    w.takeHandedName(handed);
    runEventsUntil([&] { return dialogs.log.size() >= 2; });
    EXPECT_EQ(dialogs.log,
              (std::vector<std::string>{"ask:" + kSaveQuestion, "error:Error:" + kSaveFailed}));
    EXPECT_EQ(w.fileName(), mine);
    EXPECT_EQ(text(w), "typed mine");

    failWrites = false;
    dialogs.saveAnswers = {SaveAnswer::No};
    w.takeHandedName(handed);
    runEventsUntil([&] { return w.fileName() == handed; });
    ASSERT_EQ(w.fileName(), handed);
    w.editor().engine().undo();
    EXPECT_EQ(text(w), "handed");
    EXPECT_FALSE(w.editor().engine().canUndo());
}

// A name handed over while a dialog of the user's is open waits until it closes: the text
// under the dialog is what the dialog acts on.
TEST_F(UnsavedWorkTest, aHandedOverFileWaitsWhileADialogIsOpen) {
    MainWindow& w = open();
    const std::string mine = file("mine.txt", "mine");
    const std::string handed = file("handed.txt", "handed");
    w.show();
    ASSERT_TRUE(w.load(mine));
    std::string underDialog;
    QTimer::singleShot(0, &w, [&] {
        QDialog dialog(&w); // as Save As or a message box would be
        QTimer::singleShot(50, &w, [&] { w.takeHandedName(handed); });
        QTimer::singleShot(700, &dialog, [&] {
            underDialog = w.fileName();
            dialog.accept();
        });
        dialog.exec();
    });
    runEventsUntil([&] { return w.fileName() == handed; });
    EXPECT_EQ(underDialog, mine) << "taken while the dialog was open";
    EXPECT_EQ(w.fileName(), handed) << "never taken after it closed";
}

// --- Dropped files ------------------------------------------------------------------------------

// A drop as the window system delivers it: a QDropEvent carrying file addresses, each
// name's bytes percent-encoded as file managers put them in a URI list.
void dropOn(MainWindow& w, const std::vector<std::string>& files) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& name : files) {
        urls.push_back(
            QUrl::fromEncoded("file://" + QByteArray::fromStdString(name).toPercentEncoding("/")));
    }
    data.setUrls(urls);
    // The drop goes to the widget that accepted the drag's entry, as in a real drag.
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
}

TEST_F(UnsavedWorkTest, aFileDroppedOnAModifiedDocumentAsksAndCancelKeepsIt) {
    MainWindow& w = open();
    const std::string mine = file("mine.txt", "mine");
    const std::string dropped = file("dropped.txt", "dropped");
    ASSERT_TRUE(w.load(mine));
    type(w, "typed ");
    dialogs.saveAnswers = {SaveAnswer::Cancel};
    dropOn(w, {dropped});
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"ask:" + kSaveQuestion});
    EXPECT_EQ(text(w), "typed mine");
    EXPECT_EQ(w.fileName(), mine);

    dialogs.log.clear();
    dialogs.saveAnswers = {SaveAnswer::No};
    dropOn(w, {dropped});
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"ask:" + kSaveQuestion});
    EXPECT_EQ(text(w), "dropped");
    EXPECT_EQ(readFile(mine), "mine");

    // Nothing changed: no question; a dropped folder loads nothing and asks nothing.
    dialogs.log.clear();
    dropOn(w, {mine});
    EXPECT_EQ(w.fileName(), mine);
    type(w, "again ");
    fs::create_directory(folder / "dir");
    dropOn(w, {folder / "dir"});
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(text(w), "again mine");
}

TEST_F(UnsavedWorkTest, aDroppedFileWhoseNameIsNotUtf8IsLoaded) {
    MainWindow& w = open();
    const std::string latin1 = file("caf\xe9.nfo", "menu");
    dropOn(w, {latin1});
    EXPECT_EQ(w.fileName(), latin1);
    EXPECT_EQ(text(w), "menu");
}

// --- The command line ---------------------------------------------------------------------------

TEST_F(UnsavedWorkTest, aMissingFileOnTheCommandLineSaysItCouldNotBeLoaded) {
    for (const bool convert : {true, false}) {
        dialogs.log.clear();
        settings.writeBool("Options", "Convert", convert);
        MainWindow& w = open(folder / "missing.nfo");
        EXPECT_EQ(w.fileName(), "");
        EXPECT_EQ(dialogs.log,
                  std::vector<std::string>{(convert ? "plain:" : "error:Error:") + kLoadFailed});
    }
}

} // namespace
} // namespace tavrel::test

// The file commands offscreen with the questions answered by the test: loading with and
// without the line-end repair, files that cannot be read, the question to save, Save and
// Save as, saves that fail, and files with NUL bytes.
#include "nul_files.h"
#include "platform/file_facts.h"
#include "window_fixture.h"

#include "app/button_bar.h"
#include "app/notice_bar.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <unistd.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;
using FileCommandsTest = WindowTest;

// --- Loading --------------------------------------------------------------------------------

TEST_F(FileCommandsTest, theRepairJoinsCarriageReturnRunsAndTheLoadStartsAFreshHistory) {
    MainWindow& w = open();
    const std::string path = file("runs.txt", "one\r\r\r\ntwo\r\r\nthree\n");
    ASSERT_TRUE(w.load(path));
    // Without the repair every CR would end a line of its own.
    EXPECT_EQ(text(w), "one\r\ntwo\r\nthree\r\n");
    EXPECT_FALSE(w.isModified());
    ASSERT_TRUE(w.load(file("plain.txt", "a\nb\n")));
    EXPECT_EQ(text(w), "a\r\nb\r\n");
    EXPECT_EQ(w.editor().engine().paragraphs().count(), 2);
    // Undo never brings back the previous file's text under this file's name.
    w.editor().engine().undo();
    EXPECT_EQ(text(w), "a\r\nb\r\n");
    EXPECT_FALSE(w.editor().engine().canUndo());
}

TEST_F(FileCommandsTest, withoutTheRepairEveryCarriageReturnEndsALineAndUndoStartsEmpty) {
    MainWindow& w = open();
    w.options().convert = false;
    ASSERT_TRUE(w.load(file("runs.txt", "one\r\r\r\ntwo")));
    EXPECT_EQ(text(w), "one\r\n\r\n\r\ntwo");
    EXPECT_FALSE(w.editor().engine().canUndo());
}

TEST_F(FileCommandsTest, aFileThatCannotBeReadChangesNothing) {
    MainWindow& w = open();
    const std::string good = file("good.nfo", "kept");
    ASSERT_TRUE(w.load(good));
    fs::create_directory(folder / "folder.nfo");
    // The box's details name the file and say why, in both load paths.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {folder / "missing.nfo", folder / "missing.nfo\n" + std::strerror(ENOENT)},
        {folder / "folder.nfo", folder / "folder.nfo\n" + std::strerror(EISDIR)}};
    for (const auto& [bad, why] : cases) {
        dialogs.log.clear();
        dialogs.details.clear();
        EXPECT_FALSE(w.load(bad));
        EXPECT_EQ(dialogs.log, std::vector<std::string>{"plain:" + kLoadFailed}) << bad;
        w.options().convert = false;
        dialogs.log.clear();
        EXPECT_FALSE(w.load(bad));
        EXPECT_EQ(dialogs.log, std::vector<std::string>{"error:Error:" + kLoadFailed}) << bad;
        EXPECT_EQ(dialogs.details, (std::vector<std::string>{why, why}));
        w.options().convert = true;
    }
    EXPECT_EQ(text(w), "kept");
    EXPECT_EQ(w.fileName(), good);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + good);
    EXPECT_EQ(w.recentFiles().items(), std::vector<std::string>{good});
}

TEST_F(FileCommandsTest, aFileWithoutReadPermissionGivesTheLoadMessage) {
    if (runningAsRoot()) {
        GTEST_SKIP() << kRootSkipReason;
    }
    MainWindow& w = open();
    const std::string locked = file("locked.nfo", "secret");
    fs::permissions(locked, fs::perms::none);
    EXPECT_FALSE(w.load(locked));
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"plain:" + kLoadFailed});
    EXPECT_EQ(dialogs.details, std::vector<std::string>{locked + "\n" + std::strerror(EACCES)});
}

TEST_F(FileCommandsTest, theCommandLineFileIsLoadedAtCreation) {
    const std::string art = file("start.nfo", "hello\r\n");
    MainWindow& w = open(art);
    EXPECT_EQ(w.fileName(), art);
    EXPECT_EQ(text(w), "hello\r\n");
    EXPECT_FALSE(w.isModified());
    MainWindow& missing = open(folder / "nothing.nfo");
    EXPECT_EQ(missing.fileName(), "");
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"plain:" + kLoadFailed});
}

TEST_F(FileCommandsTest, droppedFilesLoadOnlyTheFirstAndIgnoreAFolder) {
    MainWindow& w = open();
    const std::string first = file("first.nfo", "first");
    const std::string second = file("second.nfo", "second");
    w.dropFiles({first, second});
    EXPECT_EQ(w.fileName(), first);
    fs::create_directory(folder / "dir");
    w.dropFiles({folder / "dir", second});
    EXPECT_EQ(w.fileName(), first);
}

// --- The question to save ---------------------------------------------------------------------

TEST_F(FileCommandsTest, newOnAModifiedDocumentAsksAndCancelKeepsEverything) {
    MainWindow& w = open();
    const std::string path = file("doc.txt", "old");
    ASSERT_TRUE(w.load(path));
    type(w, "new ");
    ASSERT_TRUE(w.isModified());
    EXPECT_TRUE(w.buttonBar().saveButton()->isEnabled());
    dialogs.saveAnswers = {SaveAnswer::Cancel};
    w.newDocument();
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"ask:" + kSaveQuestion});
    EXPECT_EQ(text(w), "new old");
    EXPECT_EQ(w.fileName(), path);
    EXPECT_TRUE(w.isModified());
}

TEST_F(FileCommandsTest, answeringNoDiscardsAndYesSavesFirst) {
    MainWindow& w = open();
    const std::string path = file("doc.txt", "old");
    ASSERT_TRUE(w.load(path));
    type(w, "new ");
    dialogs.saveAnswers = {SaveAnswer::No};
    w.newDocument();
    EXPECT_EQ(text(w), "");
    EXPECT_EQ(readFile(path), "old");

    ASSERT_TRUE(w.load(path));
    type(w, "yes ");
    dialogs.saveAnswers = {SaveAnswer::Yes};
    w.newDocument();
    EXPECT_EQ(readFile(path), "yes old");
    EXPECT_EQ(text(w), "");
    EXPECT_FALSE(w.isModified());
}

TEST_F(FileCommandsTest, yesOnAnUnnamedDocumentRunsSaveAsAndACancelledSaveAsKeepsTheText) {
    MainWindow& w = open();
    type(w, "draft");
    dialogs.saveAnswers = {SaveAnswer::Yes};
    dialogs.fileNames = {std::nullopt}; // the Save as dialog is cancelled
    w.newDocument();
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"ask:" + kSaveQuestion, "save"}));
    EXPECT_EQ(text(w), "draft");
    EXPECT_TRUE(w.isModified());
}

TEST_F(FileCommandsTest, noQuestionWhenTheOptionIsOffOrNothingChanged) {
    MainWindow& w = open();
    ASSERT_TRUE(w.load(file("doc.txt", "old")));
    EXPECT_FALSE(w.askToSave());
    type(w, "x");
    w.options().askChanges = false;
    EXPECT_FALSE(w.askToSave());
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(FileCommandsTest, closingAModifiedWindowAsksAndCancelKeepsItOpen) {
    MainWindow& w = open();
    w.show();
    type(w, "x");
    dialogs.saveAnswers = {SaveAnswer::Cancel};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    dialogs.saveAnswers = {SaveAnswer::No};
    EXPECT_TRUE(w.close());
    // The settings were written by the close handler.
    EXPECT_EQ(settings.readString("Info", "Version", ""), "4.2");
    EXPECT_EQ(settings.readString("Options", "Language", ""), "English");
}

// --- Save and Save as -------------------------------------------------------------------------

TEST_F(FileCommandsTest, saveAsAppendsTxtToANameWithoutExtension) {
    MainWindow& w = open();
    type(w, "report text");
    dialogs.fileNames = {folder / "report"};
    ASSERT_TRUE(w.saveAs());
    const std::string saved = folder / "report.txt";
    EXPECT_EQ(readFile(saved), "report text");
    EXPECT_EQ(w.fileName(), saved);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + saved);
    EXPECT_EQ(w.options().lastDir, folder.folderText());
    EXPECT_EQ(w.recentFiles().items().front(), saved);
    EXPECT_FALSE(w.isModified());
    EXPECT_EQ(dialogs.lastRequest.filter.toStdString(), MainWindow::kFileFilter);

    dialogs.fileNames = {folder / "report.nfo"};
    ASSERT_TRUE(w.saveAs());
    EXPECT_EQ(w.fileName(), folder / "report.nfo");
    EXPECT_EQ(dialogs.lastRequest.fileName, "report.txt");
    EXPECT_EQ(dialogs.lastRequest.initialFolder.toStdString(), folder.folderText());
}

TEST_F(FileCommandsTest, saveButtonIsOffAfterAStartWithoutAFileAndStaysOffForAnUnnamedText) {
    MainWindow& w = open();
    EXPECT_FALSE(w.buttonBar().saveButton()->isEnabled());
    w.show();
    EXPECT_FALSE(w.buttonBar().saveButton()->isEnabled());
    type(w, "typed");
    EXPECT_TRUE(w.isModified());
    EXPECT_FALSE(w.buttonBar().saveButton()->isEnabled());
}

TEST_F(FileCommandsTest, saveButtonIsOffAfterAStartWithAFileUntilAChange) {
    MainWindow& w = open(file("start.txt", "start"));
    w.show();
    EXPECT_FALSE(w.buttonBar().saveButton()->isEnabled());
    type(w, "+");
    EXPECT_TRUE(w.buttonBar().saveButton()->isEnabled());
}

TEST_F(FileCommandsTest, saveWritesCrLfAndClearsTheModifiedState) {
    MainWindow& w = open();
    const std::string path = file("unix.txt", "a\nb");
    ASSERT_TRUE(w.load(path));
    type(w, "+");
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "+a\r\nb");
    EXPECT_FALSE(w.isModified());
    EXPECT_FALSE(w.buttonBar().saveButton()->isEnabled());
}

TEST_F(FileCommandsTest, aFullDiskShowsTheSaveMessageAndKeepsTheDocumentModified) {
    MainWindow& w = open();
    const std::string path = file("doc.txt", "on disk");
    ASSERT_TRUE(w.load(path));
    type(w, "changed ");
    failWrites = true;
    EXPECT_FALSE(w.save());
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"error:Error:" + kSaveFailed});
    // The language text stays as it is; the file and the reason are the box's details.
    EXPECT_EQ(dialogs.details, std::vector<std::string>{path + ": No space left on device"});
    EXPECT_TRUE(w.isModified());
    EXPECT_EQ(readFile(path), "on disk");

    // Save as restores the old name when the write fails.
    dialogs.log.clear();
    dialogs.fileNames = {folder / "elsewhere.txt"};
    EXPECT_FALSE(w.saveAs());
    EXPECT_EQ(w.fileName(), path);
    EXPECT_EQ(w.windowTitle().toStdString(), "Tavrel - " + path);
    EXPECT_EQ(dialogs.log, (std::vector<std::string>{"save", "error:Error:" + kSaveFailed}));
}

TEST_F(FileCommandsTest, aReadOnlyFileIsRefusedForEveryUserRootIncluded) {
    MainWindow& w = open();
    const std::string path = file("ro.txt", "protected");
    ASSERT_TRUE(w.load(path));
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    type(w, "x");
    EXPECT_FALSE(w.save());
    EXPECT_EQ(dialogs.log, std::vector<std::string>{"error:Error:" + kSaveFailed});
    ASSERT_EQ(dialogs.details.size(), 1u);
    EXPECT_EQ(dialogs.details[0], path + "\n" + std::strerror(EACCES));
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(readFile(path), "protected");
    EXPECT_TRUE(w.isModified());
}

// The real atomic writer under a folder that became read-only after the file was loaded.
class RealWriterTest : public WindowTest {
protected:
    MainWindow& openWithRealWriter() {
        MainWindowSetup s = setup();
        s.writer = {}; // the window's own atomic writer
        window = std::make_unique<MainWindow>(std::move(s));
        return *window;
    }
};

TEST_F(RealWriterTest, aFileInAFolderThatBecameReadOnlyIsSavedInPlaceAsOrdinaryUser) {
    if (runningAsRoot()) {
        GTEST_SKIP() << kRootSkipReason;
    }
    MainWindow& w = openWithRealWriter();
    fs::create_directory(folder / "ro");
    const std::string path = folder / "ro/doc.txt";
    writeFile(path, "original");
    const test::FileFacts before = test::factsOf(path);
    ASSERT_TRUE(w.load(path));
    type(w, "edited ");
    fs::permissions(folder / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    // The file itself is writable, so the save goes through, over the file's own bytes.
    EXPECT_TRUE(w.save());
    EXPECT_TRUE(dialogs.log.empty());
    const test::FileFacts after = test::factsOf(path);
    EXPECT_EQ(after.bytes, "edited original");
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_FALSE(w.isModified());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "ro"), fs::directory_iterator()), 1);
}

TEST_F(FileCommandsTest, aSaveHandsTheWriterTheParagraphsPieceByPiece) {
    // A writer that keeps only the size of the largest piece: were the document copied into
    // one string first, that piece would be the whole file.
    std::size_t largest = 0;
    std::string bytes;
    MainWindowSetup s = setup();
    s.writer = [&](const std::string&, const ChunkSource& source) {
        source([&](std::string_view piece) {
            largest = std::max(largest, piece.size());
            bytes.append(piece);
            return true;
        });
        return WriteStatus{};
    };
    window = std::make_unique<MainWindow>(std::move(s));
    std::string text;
    for (int i = 0; i < 2000; ++i) {
        text += (i > 0 ? "\r\nparagraph " : "paragraph ") + std::to_string(i);
    }
    ASSERT_TRUE(window->load(file("long.txt", text)));
    type(*window, "x");
    ASSERT_TRUE(window->save());
    EXPECT_TRUE(bytes == "x" + text);
    EXPECT_LT(largest, text.size() / 10);
}

TEST_F(RealWriterTest, aHardLinkedDocumentIsStreamedIntoTheSameFile) {
    MainWindow& w = openWithRealWriter();
    const std::string path = folder / "doc.txt";
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        text += (i > 0 ? "\r\nline " : "line ") + std::to_string(i);
    }
    writeFile(path, text);
    ASSERT_EQ(::link(path.c_str(), (folder / "other.txt").c_str()), 0);
    const test::FileFacts before = test::factsOf(path);
    ASSERT_TRUE(w.load(path));
    type(w, "+");
    ASSERT_TRUE(w.save());
    const test::FileFacts after = test::factsOf(path);
    EXPECT_TRUE(after.bytes == "+" + text);
    EXPECT_TRUE(readFile(folder / "other.txt") == after.bytes);
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.links, 2u);
}

TEST_F(RealWriterTest, aFailedLoadNamesTheFileAndTheReason) {
    MainWindow& w = openWithRealWriter();
    const std::string missing = folder / "gone.nfo";
    EXPECT_FALSE(w.load(missing));
    ASSERT_EQ(dialogs.details.size(), 1u);
    EXPECT_EQ(dialogs.details[0].rfind(missing, 0), 0u) << dialogs.details[0];
    EXPECT_NE(dialogs.details[0].find(std::strerror(ENOENT)), std::string::npos)
        << dialogs.details[0];
}

TEST_F(RealWriterTest, savingThroughASymbolicLinkReplacesItsTargetAndKeepsPermissions) {
    MainWindow& w = openWithRealWriter();
    const std::string target = file("target.txt", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = folder / "link.txt";
    fs::create_symlink(target, link);
    ASSERT_TRUE(w.load(link));
    type(w, "new ");
    ASSERT_TRUE(w.save());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(target), "new old");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// --- NUL bytes ---------------------------------------------------------------------------------

TEST_F(FileCommandsTest, nulBytesAreTextThatIsShownWholeAndSavedBackByteForByte) {
    for (const NulFile& nul : nulFiles()) {
        for (const bool convert : {true, false}) {
            SCOPED_TRACE(nul.name + (convert ? " with the repair" : " without it"));
            MainWindow& w = open();
            w.options().convert = convert;
            const std::string path = file(nul.name, nul.bytes);
            ASSERT_TRUE(w.load(path));
            EXPECT_EQ(text(w), nul.bytes);
            EXPECT_FALSE(w.notice().isVisibleTo(&w)) << w.notice().text().toStdString();
            EXPECT_TRUE(dialogs.log.empty());

            const std::string copy = folder / ("copy-" + nul.name);
            dialogs.fileNames = {copy};
            ASSERT_TRUE(w.saveAs());
            EXPECT_EQ(readFile(copy), nul.bytes);

            // Edited and saved over the file it came from, without a question.
            ASSERT_TRUE(w.load(path));
            type(w, ">");
            dialogs.log.clear();
            ASSERT_TRUE(w.save());
            EXPECT_TRUE(dialogs.log.empty());
            EXPECT_EQ(readFile(path), ">" + nul.bytes);
        }
    }
}

// --- Menus opening ------------------------------------------------------------------------------

TEST_F(FileCommandsTest, theFileMenuEnablesItsItemsWhenItOpens) {
    MainWindow& w = open();
    QMenu* fileMenu = w.menu("File1");
    Q_EMIT fileMenu->aboutToShow();
    EXPECT_FALSE(w.action("New1")->isEnabled());
    EXPECT_FALSE(w.action("Save1")->isEnabled());
    EXPECT_FALSE(w.action("Properties1")->isEnabled());
    ASSERT_TRUE(w.load(file("doc.txt", "text")));
    type(w, "x");
    Q_EMIT fileMenu->aboutToShow();
    EXPECT_TRUE(w.action("New1")->isEnabled());
    EXPECT_TRUE(w.action("Save1")->isEnabled());
    EXPECT_TRUE(w.action("Properties1")->isEnabled());
}

TEST_F(FileCommandsTest, aShortcutRunsItsItemOnlyWhenOpeningTheMenuWouldEnableIt) {
    MainWindow& w = open();
    const std::string path = file("doc.txt", "text");
    ASSERT_TRUE(w.load(path));
    w.action("Save1")->trigger(); // not modified: nothing to save
    EXPECT_TRUE(written.empty());
    type(w, "x");
    w.action("Save1")->trigger();
    EXPECT_EQ(readFile(path), "xtext");
}

} // namespace
} // namespace tavrel::test

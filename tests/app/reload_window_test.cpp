// The shown file changed on disk by another program, on an offscreen window with the real
// file system's notices: reloaded at once when unedited (written in place or renamed over),
// one question when edited, the document kept when the file vanishes, and no reaction to the
// window's own saves.
#include "app/notice_bar.h"
#include "editor/qt/text_editor.h"
#include "platform/file_watch.h"
#include "window_fixture.h"

#include <QTest>

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace tavrel::test {
namespace {

// Long enough for the system's notice and the watch's settle time, on a loaded machine.
constexpr int kSettledMs = 3000;
constexpr int kQuietMs = 4 * static_cast<int>(platform::FileWatch::kSettleTime.count());

class ReloadWindowTest : public WindowTest {
protected:
    MainWindow& openShown(const std::string& bytes) {
        path = file("art.nfo", bytes);
        MainWindow& w = open(path);
        w.show();
        EXPECT_EQ(text(w), bytes);
        return w;
    }
    // Another program's save: a new file renamed over the old one.
    void renameOver(const std::string& bytes) {
        const std::string temporary = folder / "art.nfo.new";
        writeFile(temporary, bytes);
        std::filesystem::rename(temporary, path);
    }
    [[nodiscard]] bool waitForText(const MainWindow& w, const std::string& bytes) {
        return QTest::qWaitFor([&] { return text(w) == bytes; }, kSettledMs);
    }
    [[nodiscard]] long questions() const {
        return std::count(dialogs.log.begin(), dialogs.log.end(), "confirm");
    }

    std::string path;
};

TEST_F(ReloadWindowTest, anUneditedDocumentFollowsWritesInPlaceAndRenamesOver) {
    MainWindow& w = openShown("first\r\n");
    writeFile(path, "second, longer\r\n");
    ASSERT_TRUE(waitForText(w, "second, longer\r\n"));
    renameOver("third\r\n");
    ASSERT_TRUE(waitForText(w, "third\r\n"));
    // And again: a rename leaves a new file that must be watched as well.
    renameOver("fourth\r\n");
    ASSERT_TRUE(waitForText(w, "fourth\r\n"));
    EXPECT_FALSE(w.isModified());
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(w.fileName(), path);
}

TEST_F(ReloadWindowTest, anEditedDocumentAsksOnceAndKeepsTheTextUnlessTold) {
    MainWindow& w = openShown("theirs 1\r\n");
    type(w, "mine ");
    ASSERT_TRUE(w.isModified());
    dialogs.confirmAnswers = {false};
    writeFile(path, "theirs 2, longer\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return questions() == 1; }, kSettledMs));
    QTest::qWait(kQuietMs);
    EXPECT_EQ(questions(), 1); // asked once for this change
    EXPECT_EQ(text(w), "mine theirs 1\r\n");
    EXPECT_TRUE(w.isModified());

    // The next change asks again; this time the file's text is taken.
    dialogs.confirmAnswers = {true};
    renameOver("theirs 3\r\n");
    ASSERT_TRUE(waitForText(w, "theirs 3\r\n"));
    EXPECT_EQ(questions(), 2);
    EXPECT_FALSE(w.isModified());
}

TEST_F(ReloadWindowTest, aVanishedFileLeavesTheTextMarkedModifiedAndSaveBringsItBack) {
    MainWindow& w = openShown("keep me\r\n");
    std::filesystem::remove(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isModified(); }, kSettledMs));
    EXPECT_EQ(text(w), "keep me\r\n");
    EXPECT_FALSE(w.notice().isHidden());
    EXPECT_EQ(questions(), 0);
    ASSERT_TRUE(w.save());
    EXPECT_EQ(readFile(path), "keep me\r\n");
    EXPECT_TRUE(w.notice().isHidden());
    EXPECT_FALSE(w.isModified());
}

TEST_F(ReloadWindowTest, aFileThatComesBackUneditedIsLoadedWithoutAQuestion) {
    MainWindow& w = openShown("before\r\n");
    std::filesystem::remove(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isModified(); }, kSettledMs));
    writeFile(path, "after\r\n");
    ASSERT_TRUE(waitForText(w, "after\r\n"));
    EXPECT_EQ(questions(), 0);
    EXPECT_FALSE(w.isModified());
}

TEST_F(ReloadWindowTest, aReloadInTheBackgroundKeepsTheViewWhereItWas) {
    // Every load on the worker, as a file of 16 MB or more loads: the view's offset must wait
    // for the new text instead of being applied to the old one and lost with it.
    std::string before;
    std::string after;
    for (int i = 0; i < 3000; ++i) {
        before += "line " + std::to_string(i) + "\r\n";
        after += "changed line " + std::to_string(i) + "\r\n";
    }
    path = file("art.nfo", before);
    MainWindowSetup s = setup();
    s.backgroundLoadBytes = 0;
    window = std::make_unique<MainWindow>(std::move(s));
    MainWindow& w = *window;
    w.show();
    ASSERT_TRUE(w.load(path));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isLoading(); }, kSettledMs));
    ASSERT_EQ(text(w), before);
    w.editor().setVerticalOffset(1500 * w.editor().lineHeight());
    const std::int64_t offset = w.editor().verticalOffset();
    ASSERT_GT(offset, 0);
    renameOver(after);
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(w) == after && !w.isLoading(); }, kSettledMs));
    EXPECT_EQ(w.editor().verticalOffset(), offset);
    EXPECT_EQ(questions(), 0);
}

TEST_F(ReloadWindowTest, ownSavesAreNoChange) {
    MainWindow& w = openShown("text\r\n");
    type(w, "edited ");
    ASSERT_TRUE(w.save());
    type(w, "again ");
    QTest::qWait(kQuietMs);
    EXPECT_EQ(questions(), 0);
    EXPECT_EQ(text(w), "edited again text\r\n");
    EXPECT_TRUE(w.isModified());
    // Save as another name watches that file from then on.
    const std::string other = folder / "other.nfo";
    dialogs.fileNames = {other};
    ASSERT_TRUE(w.saveAs());
    writeFile(path, "the old name\r\n");
    QTest::qWait(kQuietMs);
    EXPECT_EQ(text(w), "edited again text\r\n");
    writeFile(other, "changed outside\r\n");
    ASSERT_TRUE(waitForText(w, "changed outside\r\n"));
}

} // namespace
} // namespace tavrel::test
